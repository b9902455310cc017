#include "minigames/mini3.h"

#include <cstdlib>
#include <sstream>
#include <string>

#include "constants.h"
#include "look.h"
#include "minigames/funcs.h"
#include "overlays.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "random.h"
#include "settings.h"
#include "sound.h"
#include "text.h"

namespace cannon_rows {
namespace {

const int BALL_W = 20;  // the hit box; the picture may be any size
const int BALL_H = 10;
const int ROW_START_Y = 240;  // row i starts at 240 i
const int LAST_FRAME = 8;     // three animation cells, three frames each
const int SCORE_TEXT_RAISE = 25;
const Uint32 FRAME_DELAY_MS = 40;
const Uint32 END_PAUSE_MS = 1000;  // the last frame stays this long

// The third row of each pirate sheet: the walk up the screen.
SDL_Rect walk_clip(int cell) {
  return rect(cell * PIRATE_WIDTH, 2 * PIRATE_HEIGHT, PIRATE_WIDTH, PIRATE_HEIGHT);
}

// A step that would take the pirate off the screen is taken back, axis by axis.
void move_pirate(SDL_Rect& box, int xVel, int yVel) {
  int x = box.x + xVel;
  if (x < 0 || x > ROWS_MAX_X) x -= xVel;
  box.x = static_cast<Sint16>(x);
  int y = box.y + yVel;
  if (y < 0 || y > ROWS_MAX_Y) y -= yVel;
  box.y = static_cast<Sint16>(y);
}

}  // namespace

void ROWS_ASSETS::load() {
  ball = ::load("./sprites/ball.bmp");
  p1_sheet = ::load("./sprites/pirate_ssheet.png");
  p2_sheet = ::load("./sprites/pirate2_ssheet.png");
  bg = ::load("minigames/shore.png");
  effect = load_sound("sfx/cannon.wav");
}

void ROWS_ASSETS::free_sound() {
  Mix_FreeChunk(effect);
  effect = nullptr;
}

void ROWS_ASSETS::free() {
  free_sound();
  SDL_FreeSurface(ball);
  SDL_FreeSurface(p1_sheet);
  SDL_FreeSurface(p2_sheet);
  SDL_FreeSurface(bg);
  *this = ROWS_ASSETS{};
}

void set_up(ROWS_STATE& s) {
  s.moved1 = false;
  s.moved2 = false;
  s.speed = 1;
  s.frame = 0;
  s.end = false;
  s.hitbox1 = rect(ROWS_MAX_X, ROWS_MAX_Y, PIRATE_WIDTH, PIRATE_HEIGHT);
  s.hitbox2 = rect(0, ROWS_MAX_Y, PIRATE_WIDTH, PIRATE_HEIGHT);
  for (int i = 0; i < ROW_COUNT; ++i) {
    for (int j = 0; j < ROW_BALLS; ++j) {
      s.balls[i][j] = true;
      s.balls_hitb[i][j] = rect(ROW_SPACING * j, ROW_START_Y * i, BALL_W, BALL_H);
    }
  }
  // Two draws per row; when they agree the row has a single one-ball gap.
  s.balls[0][game_rand() % ROW_BALLS] = false;
  s.balls[0][game_rand() % ROW_BALLS] = false;
  s.balls[1][game_rand() % ROW_BALLS] = false;
  s.balls[1][game_rand() % ROW_BALLS] = false;
  s.xVel1 = 0;
  s.yVel1 = 0;
  s.xVel2 = 0;
  s.yVel2 = 0;
}

void handle_event(ROWS_STATE& s, const SDL_Event& e) {
  if (e.type == SDL_QUIT) {
    s.end = true;
    return;
  }
  if (pressed(e, MENU_QUIT)) {
    s.end = true;
    return;
  }
  steer_pirates(e, {s.xVel1, s.yVel1, s.moved1, s.xVel2, s.yVel2, s.moved2});
}

void move(ROWS_STATE& s) {
  move_pirate(s.hitbox1, s.xVel1, s.yVel1);
  move_pirate(s.hitbox2, s.xVel2, s.yVel2);
  for (int i = 0; i < ROW_COUNT; ++i) {
    for (int j = 0; j < ROW_BALLS; ++j) {
      if (!s.balls[i][j]) continue;
      if (collision(s.hitbox1, s.balls_hitb[i][j]) || collision(s.hitbox2, s.balls_hitb[i][j])) {
        s.end = true;
      }
    }
  }
}

int fall(ROWS_STATE& s, int& score) {
  int shots = 0;
  for (int i = 0; i < ROW_COUNT; ++i) {
    // Row 0 firing again speeds row 1 up within the same frame.
    const int drop = s.speed / 10 + 1;
    for (int j = 0; j < ROW_BALLS; ++j) {
      int y = s.balls_hitb[i][j].y + drop;
      if (y > ROW_BOTTOM) {
        y = 0;
        s.balls[i][j] = true;
        if (j == 0) ++shots;
      }
      s.balls_hitb[i][j].y = static_cast<Sint16>(y);
    }
    // Every step here moves a row down by at least one pixel, so a row at
    // the top has just been fired again.
    if (s.balls_hitb[i][0].y == 0) {
      s.balls[i][game_rand() % ROW_BALLS] = false;
      s.balls[i][game_rand() % ROW_BALLS] = false;
      score += ROW_BONUS;
      s.speed += ROW_SPEED_UP;
    }
  }
  return shots;
}

void after_draw(ROWS_STATE& s) {
  for (int i = 0; i < ROW_COUNT; ++i) {
    for (int j = 0; j < ROW_BALLS; ++j) {
      int y = s.balls_hitb[i][j].y + 1;
      if (y > ROW_BOTTOM) y = 0;
      s.balls_hitb[i][j].y = static_cast<Sint16>(y);
    }
  }
  ++s.frame;
  if (s.frame > LAST_FRAME) s.frame = 0;
}

void draw_shore(const ROWS_ASSETS& assets, SDL_Surface* screen, int score) {
  apply(0, 0, assets.bg, screen);
  std::ostringstream points;
  points << score;
  // fit: TEXT 620
  // Over the mini-game's points.
  draw_text_middle(screen, face(FACE::TEXT), tr("Score:"), GOLD, -SCORE_TEXT_RAISE);
  draw_text_middle(screen, face(FACE::TEXT), points.str(), GOLD);
}

void draw_pieces(const ROWS_STATE& s, const ROWS_ASSETS& assets, SDL_Surface* screen) {
  for (int i = 0; i < ROW_COUNT; ++i) {
    for (int j = 0; j < ROW_BALLS; ++j) {
      if (s.balls[i][j]) apply(s.balls_hitb[i][j].x, s.balls_hitb[i][j].y, assets.ball, screen);
    }
  }
  SDL_Rect clip = walk_clip(s.frame / 3);
  apply(s.hitbox1.x, s.hitbox1.y, assets.p1_sheet, screen, &clip);
  apply(s.hitbox2.x, s.hitbox2.y, assets.p2_sheet, screen, &clip);
}

void frame(ROWS_STATE& s, const ROWS_ASSETS& assets, SDL_Surface* screen, int& score) {
  move(s);
  draw_shore(assets, screen, score);
  for (int shots = fall(s, score); shots > 0; --shots) play_sound(assets.effect);
  // The balls are drawn where the fall left them, and only then take the
  // draw pass's extra pixel.
  draw_pieces(s, assets, screen);
  after_draw(s);
}

}  // namespace cannon_rows

void mini3(int& score, SDL_Surface*& screen) {
  using namespace cannon_rows;
  ROWS_ASSETS assets;
  assets.load();
  ROWS_STATE s;
  set_up(s);
  // An event record of our own: the main game's event and quit flag stay
  // untouched, so closing the window here ends only this game.
  SDL_Event minievent;
  while (!s.end) {
    while (poll_event(&minievent)) handle_event(s, minievent);
    frame(s, assets, screen, score);
    show_frame(screen);
    SDL_Delay(game_wait_ms(FRAME_DELAY_MS));  // a fixed wait, not a frame timer
  }
  assets.free_sound();
  closing_pause(END_PAUSE_MS);
  assets.free();
}
