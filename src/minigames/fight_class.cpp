#include "minigames/fight_class.h"

#include <cstdlib>

#include "minigames/funcs.h"
#include "strip.h"

fighting::fighting()
    : frame(0), x(0), y(0), there_is(false), sprite_sheet(nullptr), hitbox(), offsets() {
  sprite_sheet = load("minigames/fight_sheet.png");
  x = std::rand() % 500 + 40;
  y = std::rand() % 300 + 40;
  shift_box();
  frame = 0;
  there_is = true;
  fill_strip_clips(offsets);
}

fighting::~fighting() { SDL_FreeSurface(sprite_sheet); }

void fighting::shift_box() { hitbox = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), 40, 40}; }

void fighting::show(SDL_Surface*& screen) {
  // The counter runs on while the marker is off.
  ++frame;
  if (frame > 11) frame = 0;
  if (there_is) apply(x, y, sprite_sheet, screen, &offsets[frame / 3]);
}

void fighting::replace() {
  if (there_is) return;
  x = std::rand() % 500 + 40;
  y = std::rand() % 300 + 40;
  shift_box();
  there_is = true;
}

SDL_Rect fighting::get_hitbox() { return hitbox; }

bool fighting::is_on() { return there_is; }

void fighting::collect(int& score, SDL_Surface*& screen) {
  there_is = false;
  (void)score;
  (void)screen;
}
