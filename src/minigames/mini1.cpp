#include "minigames/mini1.h"

#include <cstdlib>
#include <string>

#include "look.h"
#include "minigames/funcs.h"
#include "overlays.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "random.h"
#include "settings.h"
#include "sound.h"
#include "text.h"

namespace trap_run {
namespace {

const int START_TOP = 320;  // the top of the flat ground the run starts on
const int LOWEST_TOP = 400;
const int RE_ENTRY_X = 560;
const int SCROLL_STEP = 10;
const int BG_STEP = 2;
const int BG_WIDTH = 640;
const int RISE = 40;
const int FALL = 20;
const int LAST_RISE = 5;  // a counter at or below this still rises
const int HANG_FROM = 4;  // a counter above this hangs
const int HANG_TO = 8;    // a counter above this falls again
const int FALL_OUT_Y = 480;
const int FRAME_WAIT_MS = 40;
const int END_PAUSE_MS = 1000;
const int SCORE_RIGHT = 620;

void rise(bool jump, int& jump_h, SDL_Rect& hitbox) {
  if (!jump && jump_h <= LAST_RISE) {
    hitbox.y = static_cast<Sint16>(hitbox.y - RISE);
    ++jump_h;
  }
}

void hang(bool& jump, int& jump_h) {
  if (jump_h > HANG_FROM) {
    ++jump_h;
    if (jump_h > HANG_TO) jump = true;
  }
}

// Only a tile whose top is level with the pirate's feet (or below them) can
// catch him; with collision's edge rule that means exactly level and at least
// one pixel of horizontal overlap.
void land(TRAP_RUN_STATE& run, const SDL_Rect& hitbox, bool& coll, bool& jump, int& jump_h) {
  for (int i = 0; i < RUN_TILES; ++i) {
    const SDL_Rect& tile = run.map_collision[i];
    if (tile.y < hitbox.y + hitbox.h || run.map[i] == EMPTY) continue;
    if (!collision(hitbox, tile)) continue;
    coll = true;
    jump = true;
    jump_h = 0;
    if (run.map[i] == TRAP) run.end = true;
  }
}

void fall(bool coll, bool jump, SDL_Rect& hitbox) {
  if (!coll && jump) hitbox.y = static_cast<Sint16>(hitbox.y + FALL);
}

}  // namespace

void set_up(TRAP_RUN_STATE& run) {
  run.frame = 0;
  run.jump_h1 = 0;
  run.jump_h2 = 0;
  run.end = false;
  run.coll1 = false;
  run.coll2 = false;
  run.jump1 = true;
  run.jump2 = true;
  for (int i = 0; i < RUN_TILES; ++i) {
    run.map[i] = GROUND;
    run.map_collision[i] = rect(RUN_TILE_SIZE * i, START_TOP, RUN_TILE_SIZE, RUN_TILE_SIZE);
  }
  run.hitbox1 = rect(0, 240, 70, 80);
  run.hitbox2 = rect(80, 240, 70, 80);
  run.bgx = 0;
}

RUN_SOUND handle_event(TRAP_RUN_STATE& run, const SDL_Event& e) {
  if (e.type == SDL_QUIT) {
    run.end = true;
    return RUN_SOUND::NONE;
  }
  if (e.type != SDL_KEYDOWN) return RUN_SOUND::NONE;
  // Each player jumps with his Up.
  const SDLKey key = e.key.keysym.sym;
  if (key == player_key(0, MOVE_UP)) {
    if (run.jump1 && run.jump_h1 == 0) {
      run.jump1 = false;
      return RUN_SOUND::JUMP;
    }
  } else if (key == player_key(1, MOVE_UP)) {
    if (run.jump2 && run.jump_h2 == 0) {
      run.jump2 = false;
      return RUN_SOUND::JUMP;
    }
  } else if (key == key_of(MENU_QUIT)) {
    run.end = true;
  }
  return RUN_SOUND::NONE;
}

void scroll(TRAP_RUN_STATE& run, int& score) {
  run.coll1 = false;
  run.coll2 = false;

  run.bgx -= BG_STEP;
  if (run.bgx == -BG_WIDTH) run.bgx = 0;

  for (int i = 0; i < RUN_TILES; ++i) {
    SDL_Rect& tile = run.map_collision[i];
    tile.x = static_cast<Sint16>(tile.x - SCROLL_STEP);
    if (tile.x > -RUN_TILE_SIZE) continue;

    // Back in at the right, right behind the tile that came back before it.
    tile.x = RE_ENTRY_X;
    int top = tile.y;
    top += (game_rand() % 2 != 0) ? -RUN_TILE_SIZE : RUN_TILE_SIZE;
    if (top < 0) top = 0;
    if (top > LOWEST_TOP) top = LOWEST_TOP;
    tile.y = static_cast<Sint16>(top);
    run.map[i] = game_rand() % 2;
    // Never more than one trap in the row.
    for (int j = 0; j < RUN_TILES; ++j) {
      if (j != i && run.map[j] == TRAP) run.map[i] = GROUND;
    }
    score += RUN_TILE_POINTS;
  }

  ++run.frame;
  if (run.frame > 2) run.frame = 0;
}

void step(TRAP_RUN_STATE& run) {
  rise(run.jump1, run.jump_h1, run.hitbox1);
  rise(run.jump2, run.jump_h2, run.hitbox2);
  hang(run.jump1, run.jump_h1);
  hang(run.jump2, run.jump_h2);
  land(run, run.hitbox1, run.coll1, run.jump1, run.jump_h1);
  land(run, run.hitbox2, run.coll2, run.jump2, run.jump_h2);
  fall(run.coll1, run.jump1, run.hitbox1);
  fall(run.coll2, run.jump2, run.hitbox2);
  if (run.hitbox1.y > FALL_OUT_Y || run.hitbox2.y > FALL_OUT_Y) run.end = true;
}

void TRAP_RUN_ASSETS::load() {
  effect = load_sound("sfx/jump.wav");
  pirate1_sheet = ::load("./sprites/pirate_ssheet.png");
  pirate2_sheet = ::load("./sprites/pirate2_ssheet.png");
  bg = ::load("minigames/bg.png");
  ground = ::load("minigames/ground.png");
  trap = ::load("minigames/trap.png");
}

void TRAP_RUN_ASSETS::free() {
  SDL_FreeSurface(pirate1_sheet);
  SDL_FreeSurface(pirate2_sheet);
  SDL_FreeSurface(ground);
  SDL_FreeSurface(trap);
  SDL_FreeSurface(bg);
  Mix_FreeChunk(effect);
  *this = TRAP_RUN_ASSETS();
}

void draw(const TRAP_RUN_STATE& run, const TRAP_RUN_ASSETS& assets, SDL_Surface* screen,
          int score) {
  apply(run.bgx, 0, assets.bg, screen);
  apply(run.bgx + BG_WIDTH, 0, assets.bg, screen);

  // fit: TEXT 300
  // Over the mini-game's points, in the top right corner.
  draw_text(screen, face(FACE::TEXT), tr("Score:"), GOLD, SCORE_RIGHT, 0, ALIGN::RIGHT);
  draw_text(screen, face(FACE::TEXT), std::to_string(score), GOLD, SCORE_RIGHT, 25, ALIGN::RIGHT);

  // The first three cells of each sheet: running to the right.
  SDL_Rect clip = rect(run.frame * 80, 0, 80, 80);
  apply(run.hitbox1.x, run.hitbox1.y, assets.pirate1_sheet, screen, &clip);
  apply(run.hitbox2.x, run.hitbox2.y, assets.pirate2_sheet, screen, &clip);

  // Tiles last, over the pirates.
  for (int i = 0; i < RUN_TILES; ++i) {
    const SDL_Rect& tile = run.map_collision[i];
    if (run.map[i] == GROUND) apply(tile.x, tile.y, assets.ground, screen);
    if (run.map[i] == TRAP) apply(tile.x, tile.y, assets.trap, screen);
  }
}

}  // namespace trap_run

void mini1(int& score, SDL_Surface*& screen) {
  using namespace trap_run;
  TRAP_RUN_ASSETS assets;
  assets.load();
  TRAP_RUN_STATE run;
  set_up(run);

  SDL_Event minievent;
  while (!run.end) {
    draw(run, assets, screen, score);
    scroll(run, score);
    while (poll_event(&minievent)) {
      if (handle_event(run, minievent) == RUN_SOUND::JUMP) play_sound(assets.effect);
    }
    show_frame(screen);
    SDL_Delay(game_wait_ms(FRAME_WAIT_MS));
    step(run);
  }

  closing_pause(END_PAUSE_MS);
  assets.free();
}
