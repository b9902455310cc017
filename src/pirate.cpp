#include "pirate.h"

#include "constants.h"
#include "image.h"
#include "settings.h"

const char* const PLAYER_ONE::sheet = "sprites\\pirate_ssheet.png";
const char* const PLAYER_TWO::sheet = "sprites\\pirate2_ssheet.png";
const SDLKey& PLAYER_ONE::up = current_settings().keys[P1_UP];
const SDLKey& PLAYER_ONE::down = current_settings().keys[P1_DOWN];
const SDLKey& PLAYER_ONE::left = current_settings().keys[P1_LEFT];
const SDLKey& PLAYER_ONE::right = current_settings().keys[P1_RIGHT];
const SDLKey& PLAYER_TWO::up = current_settings().keys[P2_UP];
const SDLKey& PLAYER_TWO::down = current_settings().keys[P2_DOWN];
const SDLKey& PLAYER_TWO::left = current_settings().keys[P2_LEFT];
const SDLKey& PLAYER_TWO::right = current_settings().keys[P2_RIGHT];

namespace {

// Sheet rows: the direction the pirate shows.
const int FACING_RIGHT = 0, FACING_LEFT = 1, FACING_UP = 2, FACING_DOWN = 3;
const int LAST_STEP = 7;

}  // namespace

template <class PLAYER>
PIRATE_T<PLAYER>::PIRATE_T()
    : moved(false),
      x(0),
      y(0),
      xVel(0),
      yVel(0),
      frame(0),
      status(FACING_RIGHT),
      ghost(false),
      dead(false),
      offSets(),
      sprite_sheet(load_image(PLAYER::sheet)),
      c_boxes(2) {
  shift_boxes();
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) {
      offSets[r][c] = SDL_Rect{static_cast<Sint16>(PIRATE_WIDTH * c),
                               static_cast<Sint16>(PIRATE_HEIGHT * r), PIRATE_WIDTH, PIRATE_HEIGHT};
    }
  }
}

template <class PLAYER>
PIRATE_T<PLAYER>::~PIRATE_T() {
  SDL_FreeSurface(sprite_sheet);
}

template <class PLAYER>
void PIRATE_T<PLAYER>::make_position(int X, int Y) {
  x = X;
  y = Y;
}

template <class PLAYER>
void PIRATE_T<PLAYER>::handle_input(SDL_Event e) {
  if (e.type == SDL_KEYDOWN) {
    const SDLKey key = e.key.keysym.sym;
    bool own_key = true;
    if (key == PLAYER::up) {
      if (yVel > -VELOCITY) yVel -= VELOCITY;
    } else if (key == PLAYER::down) {
      if (yVel < VELOCITY) yVel += VELOCITY;
    } else if (key == PLAYER::left) {
      if (xVel > -VELOCITY) xVel -= VELOCITY;
    } else if (key == PLAYER::right) {
      if (xVel < VELOCITY) xVel += VELOCITY;
    } else {
      own_key = false;
    }
    if (own_key || PLAYER::any_key_moves) moved = true;
  }
  // A key held through a mini-game must not push the pirate back when it is
  // released: releases only count after a fresh key press.
  if (moved && e.type == SDL_KEYUP) {
    const SDLKey key = e.key.keysym.sym;
    if (key == PLAYER::up) {
      if (yVel < VELOCITY) yVel += VELOCITY;
    } else if (key == PLAYER::down) {
      if (yVel > -VELOCITY) yVel -= VELOCITY;
    } else if (key == PLAYER::left) {
      if (xVel < VELOCITY) xVel += VELOCITY;
    } else if (key == PLAYER::right) {
      if (xVel > -VELOCITY) xVel -= VELOCITY;
    }
  }
}

template <class PLAYER>
void PIRATE_T<PLAYER>::move() {
  // A step out of bounds is undone, not clamped.
  x += xVel;
  shift_boxes();
  if (x < 20 || x + PIRATE_WIDTH > 620) {
    x -= xVel;
    shift_boxes();
  }
  y += yVel;
  shift_boxes();
  if (y < -40 || y + PIRATE_HEIGHT > 450) {
    y -= yVel;
    shift_boxes();
  }
}

template <class PLAYER>
void PIRATE_T<PLAYER>::show(SDL_Surface* dest) {
  if (xVel > 0) {
    status = FACING_RIGHT;
    ++frame;
  } else if (xVel < 0) {
    status = FACING_LEFT;
    ++frame;
  } else if (yVel < 0) {
    status = FACING_UP;
    ++frame;
  } else if (yVel > 0) {
    status = FACING_DOWN;
    ++frame;
  } else {
    frame = 0;
  }
  if (frame > LAST_STEP) frame = 1;
  apply_surface(x, y, sprite_sheet, dest, &offSets[status][frame / 3]);
}

template <class PLAYER>
void PIRATE_T<PLAYER>::zero_vel() {
  xVel = 0;
  yVel = 0;
}

template <class PLAYER>
void PIRATE_T<PLAYER>::shift_boxes() {
  c_boxes[0] = SDL_Rect{static_cast<Sint16>(x + 27), static_cast<Sint16>(y + 10), 31, 28};
  c_boxes[1] = SDL_Rect{static_cast<Sint16>(x + 16), static_cast<Sint16>(y + 38), 40, 28};
}

template <class PLAYER>
std::vector<SDL_Rect>& PIRATE_T<PLAYER>::get_c_boxes() {
  return c_boxes;
}

template <class PLAYER>
void PIRATE_T<PLAYER>::go_ghost() {
  ghost = true;
  if (sprite_sheet != nullptr) SDL_SetAlpha(sprite_sheet, SDL_SRCALPHA, 100);
}

template <class PLAYER>
void PIRATE_T<PLAYER>::not_ghost() {
  ghost = false;
  if (sprite_sheet != nullptr) SDL_SetAlpha(sprite_sheet, SDL_SRCALPHA, 255);
}

template <class PLAYER>
void PIRATE_T<PLAYER>::die() {
  dead = true;
}

template <class PLAYER>
void PIRATE_T<PLAYER>::live() {
  dead = false;
}

template <class PLAYER>
bool PIRATE_T<PLAYER>::is_ghost() {
  return ghost;
}

template <class PLAYER>
bool PIRATE_T<PLAYER>::is_dead() {
  return dead;
}

template <class PLAYER>
void PIRATE_T<PLAYER>::not_moved() {
  moved = false;
}

template class PIRATE_T<PLAYER_ONE>;
template class PIRATE_T<PLAYER_TWO>;
