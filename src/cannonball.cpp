#include "cannonball.h"

#include <cstdlib>

#include "constants.h"
#include "image.h"
#include "sound.h"

namespace {

const int BASE_SPEED = 5;
const int FROM_LEFT = 0, FROM_RIGHT = 1, FROM_TOP = 2, FROM_BOTTOM = 3;

}  // namespace

CANNONBALL::CANNONBALL()
    : x(0),
      y(0),
      xVel(BASE_SPEED),
      yVel(BASE_SPEED),
      rVel(0),
      airway(FROM_LEFT),
      sprite_sheet(nullptr),
      c_boxes(2),
      effect(load_sound("sfx/cannon.wav")) {
  sprite_sheet = load_image("sprites\\ball.bmp");
  shift_boxes();
}

CANNONBALL::~CANNONBALL() {
  SDL_FreeSurface(sprite_sheet);
  Mix_FreeChunk(effect);
}

void CANNONBALL::start_over() {
  play_sound(effect);
  airway = std::rand() % 4;
  switch (airway) {
    case FROM_LEFT:
      x = 0;
      y = 20 + std::rand() % 440;
      break;
    case FROM_RIGHT:
      x = WIDTH;
      y = 20 + std::rand() % 440;
      break;
    case FROM_TOP:
      y = 0;
      x = 20 + std::rand() % 600;
      break;
    case FROM_BOTTOM:
      y = HEIGHT;
      x = 20 + std::rand() % 600;
      break;
  }
  // Every second launch speeds the ball up along its own axis.
  if (rVel % 2 == 0) {
    if (airway == FROM_LEFT || airway == FROM_RIGHT) {
      ++xVel;
    } else {
      ++yVel;
    }
  }
  ++rVel;
  shift_boxes();
}

void CANNONBALL::move() {
  switch (airway) {
    case FROM_LEFT:
      x += xVel;
      break;
    case FROM_RIGHT:
      x -= xVel;
      break;
    case FROM_TOP:
      y += yVel;
      break;
    case FROM_BOTTOM:
      y -= yVel;
      break;
  }
  shift_boxes();
  if (x > 680 || y > 520 || x < -40 || y < -40) start_over();
}

void CANNONBALL::show(SDL_Surface* dest) { apply_surface(x, y, sprite_sheet, dest); }

void CANNONBALL::shift_boxes() {
  // A cross inside the 20 x 20 square, so that its corners do not hit.
  c_boxes[0] = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y + 7), 20, 6};
  c_boxes[1] = SDL_Rect{static_cast<Sint16>(x + 7), static_cast<Sint16>(y), 6, 20};
}

std::vector<SDL_Rect>& CANNONBALL::get_c_boxes() { return c_boxes; }

void CANNONBALL::zero_vel() {
  xVel = BASE_SPEED;
  yVel = BASE_SPEED;
}
