#include "minigames/fight_rules.h"

#include <cstdlib>

#include "controls.h"
#include "minigames/funcs.h"
#include "random.h"

namespace fight {
namespace {

bool walks_right(int lane) { return lane % 2 == 1; }

// Enemies from the left wear the last two rows of the sheet.
int draw_type(int lane) { return walks_right(lane) ? game_rand() % 2 + 2 : game_rand() % 2; }

void send_back(pirate& p, int lane) {
  p.hitbox.x = static_cast<Sint16>(walks_right(lane) ? LEFT_ENTRY_X : RIGHT_ENTRY_X);
  p.type = draw_type(lane);
}

// The gap of 20 pixels between a pirate's side and his stroke is part of
// the feel: an enemy right against him is not reached.
SDL_Rect slash_box(const SDL_Rect& body, int facing) {
  const int x = facing == RIGHT ? body.x + 100 : body.x - 40;
  return SDL_Rect{static_cast<Sint16>(x), body.y, 20, 80};
}

void begin_stroke(bool& slash, int& count, SDL_Rect& box, const SDL_Rect& body, int facing) {
  slash = true;
  count = 0;
  box = slash_box(body, facing);
}

void time_stroke(bool& slash, int& count) {
  if (!slash) return;
  ++count;
  if (count > 2) slash = false;
}

// A step that would leave the deck is undone, not cut short. (A rectangle's
// corner is Sint16 in SDL 1.2 and int in the browser's SDL.)
using COORD = decltype(SDL_Rect::x);
void move_axis(COORD& pos, int vel, int low, int high) {
  const int moved = pos + vel;
  if (moved < low || moved > high) return;
  pos = static_cast<COORD>(moved);
}

// Standing still or moving only up and down keeps the last facing.
void face(int& facing, int xVel) {
  if (xVel > 0) facing = RIGHT;
  if (xVel < 0) facing = LEFT;
}

void strike(FIGHT_STATE& s, const SDL_Rect& box, int& score) {
  for (int i = 0; i < LANES; ++i) {
    if (collision(box, s.Pirates[i].hitbox)) {
      send_back(s.Pirates[i], i);
      score += STROKE_POINTS;
    }
  }
}

}  // namespace

SDL_Rect lane_entry(int lane) {
  if (walks_right(lane)) {
    return SDL_Rect{static_cast<Sint16>(LEFT_ENTRY_X), static_cast<Sint16>(50 * lane + 115), 60,
                    50};
  }
  return SDL_Rect{static_cast<Sint16>(RIGHT_ENTRY_X), static_cast<Sint16>(50 * lane + 200), 80, 50};
}

void start(FIGHT_STATE& s) {
  s = FIGHT_STATE();
  for (int i = 0; i < LANES; ++i) {
    s.Pirates[i].hitbox = lane_entry(i);
    s.Pirates[i].type = draw_type(i);
  }
}

bool handle_input(FIGHT_STATE& s, const SDL_Event& e) {
  if (e.type == SDL_QUIT) {
    s.end = true;
    return false;
  }
  if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) return false;
  const SDLKey key = e.key.keysym.sym;
  if (e.type == SDL_KEYDOWN) {
    if (key == key_of(MENU_QUIT)) {
      s.end = true;
      return false;
    }
    if (key == player_key(0, MOVE_STRIKE)) {
      begin_stroke(s.slash1, s.slash1c, s.shitbox1, s.hitbox1, s.STATUS1);
      return true;
    }
    if (key == player_key(1, MOVE_STRIKE)) {
      begin_stroke(s.slash2, s.slash2c, s.shitbox2, s.hitbox2, s.STATUS2);
      return true;
    }
  }
  steer_pirates(e, {s.xVel1, s.yVel1, s.moved1, s.xVel2, s.yVel2, s.moved2});
  return false;
}

void step(FIGHT_STATE& s, int& score) {
  time_stroke(s.slash1, s.slash1c);
  time_stroke(s.slash2, s.slash2c);

  move_axis(s.hitbox1.x, s.xVel1, DECK_LEFT, DECK_RIGHT);
  face(s.STATUS1, s.xVel1);
  move_axis(s.hitbox2.x, s.xVel2, DECK_LEFT, DECK_RIGHT);
  face(s.STATUS2, s.xVel2);
  move_axis(s.hitbox1.y, s.yVel1, DECK_TOP, DECK_BOTTOM);
  move_axis(s.hitbox2.y, s.yVel2, DECK_TOP, DECK_BOTTOM);

  // Contact is tested where the enemies stood after the last frame, before
  // they walk and before the strokes: an enemy that walks into a pirate can
  // still be struck down in the same frame.
  for (int i = 0; i < LANES; ++i) {
    if (collision(s.hitbox1, s.Pirates[i].hitbox)) s.end = true;
    if (collision(s.hitbox2, s.Pirates[i].hitbox)) s.end = true;
  }

  for (int i = 0; i < LANES; ++i) {
    pirate& p = s.Pirates[i];
    if (walks_right(i)) {
      p.hitbox.x = static_cast<Sint16>(p.hitbox.x + ENEMY_STEP);
      if (p.hitbox.x > 640) send_back(p, i);
    } else {
      p.hitbox.x = static_cast<Sint16>(p.hitbox.x - ENEMY_STEP);
      if (p.hitbox.x < -80) send_back(p, i);
    }
  }

  // Pirate one strikes first: whoever he sends back is out of pirate two's
  // reach in the same frame.
  if (s.slash1) strike(s, s.shitbox1, score);
  if (s.slash2) strike(s, s.shitbox2, score);

  s.bgx -= 2;
  if (s.bgx <= -640) s.bgx = 0;
  ++s.op_frames;
  if (s.op_frames > 3) s.op_frames = 0;
  ++s.pt_frame;
  if (s.pt_frame > 8) s.pt_frame = 0;
}

}  // namespace fight
