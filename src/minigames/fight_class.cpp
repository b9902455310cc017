#include "minigames/fight_class.h"

#include <cstdlib>
#include <string>

#include "look.h"
#include "minigames/funcs.h"
#include "overlays.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "platform/surface.h"
#include "random.h"
#include "settings.h"
#include "sound.h"
#include "strip.h"
#include "text.h"

fighting::fighting()
    : frame(0), x(0), y(0), there_is(false), sprite_sheet(nullptr), hitbox(), offsets() {
  sprite_sheet = load("minigames/fight_sheet.png");
  x = game_rand() % 500 + 40;
  y = game_rand() % 300 + 40;
  shift_box();
  frame = 0;
  there_is = true;
  fill_strip_clips(offsets);
}

fighting::~fighting() { SDL_FreeSurface(sprite_sheet); }

void fighting::shift_box() {
  hitbox = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), 40, 40};
}

void fighting::show(SDL_Surface*& screen) {
  // The counter runs on while the marker is off.
  ++frame;
  if (frame > 11) frame = 0;
  if (there_is) apply(x, y, sprite_sheet, screen, &offsets[frame / 3]);
}

void fighting::replace() {
  if (there_is) return;
  x = game_rand() % 500 + 40;
  y = game_rand() % 300 + 40;
  shift_box();
  there_is = true;
}

SDL_Rect fighting::get_hitbox() { return hitbox; }

bool fighting::is_on() { return there_is; }

void fighting::collect(int& score, SDL_Surface*& screen) {
  there_is = false;
  FIGHT_ASSETS assets;
  assets.load();
  fight::FIGHT_STATE state;
  fight::start(state);
  // The fight reads into its own record and never touches the main game's
  // event or quit: closing the window here ends only the fight, and every
  // key released during it is used up here.
  SDL_Event minievent;
  while (!state.end) {
    while (poll_event(&minievent)) {
      if (fight::handle_input(state, minievent)) play_sound(assets.effect);
    }
    fight::step(state, score);
    fight::draw(state, assets, screen, score);
    show_frame(screen);
    SDL_Delay(game_wait_ms(40));
  }
  // The last frame stays up for a moment so the players see how it ended.
  closing_pause(1000);
  assets.free();
}

namespace {

// The rows from the top down to the last one with a see-through pixel; the
// whole screen if the ship does not cover it.
int see_through_rows(SDL_Surface* ship) {
  if (ship == nullptr || ship->w < 640 || ship->h < 480 || ship->format->BytesPerPixel != 4) {
    return 480;
  }
  const Uint32 key = see_through_pixel(ship);
  int rows = 0;
  SDL_LockSurface(ship);
  for (int y = 0; y < 480; ++y) {
    const Uint32* row =
        reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(ship->pixels) + y * ship->pitch);
    for (int x = 0; x < 640; ++x) {
      if (row[x] == key) {
        rows = y + 1;
        break;
      }
    }
  }
  SDL_UnlockSurface(ship);
  return rows;
}

}  // namespace

void FIGHT_ASSETS::load() {
  effect = load_sound("sfx/sword1.wav");
  bg1 = ::load("minigames/ship.png");
  bg2 = ::load("minigames/water.png");
  water_rows = see_through_rows(bg1);
  pirates = ::load("minigames/pirates.png");
  pt1 = ::load("sprites/pirate_ssheet.png");
  pt2 = ::load("sprites/pirate2_ssheet.png");
}

void FIGHT_ASSETS::free() {
  SDL_FreeSurface(bg1);
  SDL_FreeSurface(bg2);
  SDL_FreeSurface(pirates);
  SDL_FreeSurface(pt1);
  SDL_FreeSurface(pt2);
  Mix_FreeChunk(effect);
  *this = FIGHT_ASSETS();
}

namespace {

const int STROKE_CELL = 3;

// Sheets of 80 x 80 cells: enemy type t or player facing d picks the row.
SDL_Rect cell(int column, int row) {
  return SDL_Rect{static_cast<Sint16>(80 * column), static_cast<Sint16>(80 * row), 80, 80};
}

void draw_player(const SDL_Rect& body, int facing, bool slashing, int pt_frame, SDL_Surface* sheet,
                 SDL_Surface* screen) {
  SDL_Rect clip = cell(slashing ? STROKE_CELL : pt_frame / 3, facing);
  apply(body.x, body.y, sheet, screen, &clip);
}

}  // namespace

void fight::draw(const FIGHT_STATE& state, const FIGHT_ASSETS& assets, SDL_Surface* screen,
                 int score) {
  SDL_Rect water = rect(0, 0, 640, assets.water_rows);
  apply(state.bgx, 0, assets.bg2, screen, &water);
  apply(state.bgx + 640, 0, assets.bg2, screen, &water);
  apply(0, 0, assets.bg1, screen);

  // fit: FIGHT 620
  // The sword fight's points so far; {1} is the number (up to four digits).
  draw_text(screen, face(FACE::FIGHT), fill(tr("Score: {1}"), {std::to_string(score)}), BROWN, 0,
            5);

  // From lane 5 up to lane 0: where two enemies overlap, the upper lane's is in front.
  for (int i = fight::LANES - 1; i >= 0; --i) {
    const fight::pirate& p = state.Pirates[i];
    SDL_Rect clip = cell(state.op_frames / 2, p.type);
    apply(p.hitbox.x, p.hitbox.y, assets.pirates, screen, &clip);
  }

  draw_player(state.hitbox1, state.STATUS1, state.slash1, state.pt_frame, assets.pt1, screen);
  draw_player(state.hitbox2, state.STATUS2, state.slash2, state.pt_frame, assets.pt2, screen);
}
