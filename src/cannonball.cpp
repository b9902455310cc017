#include "cannonball.h"

#include <cstdlib>

#include "collision.h"
#include "constants.h"
#include "image.h"
#include "random.h"
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
      effect(load_sound("sfx/cannon.wav")),
      flight_boxes(2),
      flight_dx(0),
      flight_dy(0) {
  sprite_sheet = load_image("sprites\\ball.bmp");
  shift_boxes();
}

CANNONBALL::~CANNONBALL() {
  SDL_FreeSurface(sprite_sheet);
  Mix_FreeChunk(effect);
}

void CANNONBALL::start_over() {
  play_sound(effect);
  airway = game_rand() % 4;
  switch (airway) {
    case FROM_LEFT:
      x = 0;
      y = 20 + game_rand() % 440;
      break;
    case FROM_RIGHT:
      x = WIDTH;
      y = 20 + game_rand() % 440;
      break;
    case FROM_TOP:
      y = 0;
      x = 20 + game_rand() % 600;
      break;
    case FROM_BOTTOM:
      y = HEIGHT;
      x = 20 + game_rand() % 600;
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
  flight_dx = 0;  // not flown yet
  flight_dy = 0;
}

void CANNONBALL::move() {
  flight_boxes = c_boxes;
  int dx = 0, dy = 0;
  switch (airway) {
    case FROM_LEFT:
      dx = xVel;
      break;
    case FROM_RIGHT:
      dx = -xVel;
      break;
    case FROM_TOP:
      dy = yVel;
      break;
    case FROM_BOTTOM:
      dy = -yVel;
      break;
  }
  x += dx;
  y += dy;
  shift_boxes();
  if (x > 680 || y > 520 || x < -40 || y < -40) start_over();
  // The way out is part of the flight, the jump back to an edge is not.
  flight_dx = dx;
  flight_dy = dy;
}

void CANNONBALL::show(SDL_Surface* dest) { apply_surface(x, y, sprite_sheet, dest); }

void CANNONBALL::shift_boxes() {
  // A cross inside the 20 x 20 square, so that its corners do not hit.
  c_boxes[0] = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y + 7), 20, 6};
  c_boxes[1] = SDL_Rect{static_cast<Sint16>(x + 7), static_cast<Sint16>(y), 6, 20};
}

std::vector<SDL_Rect>& CANNONBALL::get_c_boxes() { return c_boxes; }

bool CANNONBALL::hits(std::vector<SDL_Rect>& boxes) {
  return check_collision(boxes, c_boxes) || check_flight(boxes, flight_boxes, flight_dx, flight_dy);
}

void CANNONBALL::zero_vel() {
  xVel = BASE_SPEED;
  yVel = BASE_SPEED;
}
