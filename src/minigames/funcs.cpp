#include "minigames/funcs.h"

#include "constants.h"
#include "controls.h"
#include "image.h"

SDL_Surface* load(const std::string& filename) { return load_image(filename); }

void apply(int x, int y, SDL_Surface* src, SDL_Surface* dest, SDL_Rect* clip) {
  apply_surface(x, y, src, dest, clip);
}

SDL_Rect rect(int x, int y, int w, int h) {
  return SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                  static_cast<Uint16>(h)};
}

bool collision(SDL_Rect A, SDL_Rect B) {
  const int a_top = A.y, a_bottom = A.y + A.h, a_left = A.x, a_right = A.x + A.w;
  const int b_top = B.y, b_bottom = B.y + B.h, b_left = B.x, b_right = B.x + B.w;
  if (a_bottom < b_top) return false;
  if (a_top > b_bottom) return false;
  if (a_left >= b_right) return false;
  if (a_right <= b_left) return false;
  return true;
}

namespace {

// What a direction's press adds to its player's velocity.
struct MOVE_STEP {
  PLAYER_MOVE move;
  int dx, dy;
};

const MOVE_STEP MOVE_STEPS[] = {
    {MOVE_UP, 0, -VELOCITY},
    {MOVE_DOWN, 0, VELOCITY},
    {MOVE_LEFT, -VELOCITY, 0},
    {MOVE_RIGHT, VELOCITY, 0},
};

}  // namespace

bool steer_pirates(const SDL_Event& e, STEERING pirates) {
  if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) return false;
  for (int player = 0; player < PLAYERS; ++player) {
    for (const MOVE_STEP& m : MOVE_STEPS) {
      if (player_key(player, m.move) != e.key.keysym.sym) continue;
      bool& moved = player == 0 ? pirates.moved1 : pirates.moved2;
      int& xVel = player == 0 ? pirates.xVel1 : pirates.xVel2;
      int& yVel = player == 0 ? pirates.yVel1 : pirates.yVel2;
      if (e.type == SDL_KEYDOWN) {
        xVel += m.dx;
        yVel += m.dy;
        moved = true;
      } else if (moved) {
        xVel -= m.dx;
        yVel -= m.dy;
      }
      return true;
    }
  }
  return false;
}
