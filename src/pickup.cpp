#include "pickup.h"

#include <cstdlib>

#include "image.h"
#include "random.h"
#include "sound.h"
#include "strip.h"

const char* const RUBY_KIND::sheet = "sprites\\r_sheet.png";
const char* const RUBY_KIND::sound = "sfx/ruby.wav";
const char* const GHOST_KIND::sheet = "sprites\\ghost_sheet.png";
const char* const GHOST_KIND::sound = "sfx/ghost.wav";

template <class KIND>
PICKUP_T<KIND>::PICKUP_T()
    : x(0),
      y(0),
      frame(0),
      collected(true),
      sprite_sheet(nullptr),
      offSets(),
      c_boxes(1),
      effect(nullptr) {
  effect = load_sound(KIND::sound);
  sprite_sheet = load_image(KIND::sheet);
  fill_strip_clips(offSets);
}

template <class KIND>
PICKUP_T<KIND>::~PICKUP_T() {
  SDL_FreeSurface(sprite_sheet);
  Mix_FreeChunk(effect);
}

template <class KIND>
void PICKUP_T<KIND>::show(SDL_Surface* dest) {
  if (collected) return;  // off the playfield: the animation stands still
  frame = next_strip_frame(frame);
  apply_surface(x, y, sprite_sheet, dest, &offSets[frame / 4]);
}

template <class KIND>
void PICKUP_T<KIND>::replace() {
  if (!collected) return;
  x = 30 + game_rand() % KIND::x_span;
  y = 40 + game_rand() % 375;
  collected = false;
  c_boxes[0] = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), 40, 40};
}

template <class KIND>
void PICKUP_T<KIND>::collect() {
  collected = true;
  play_sound(effect);
}

template <class KIND>
bool PICKUP_T<KIND>::is_collected() {
  return collected;
}

template <class KIND>
std::vector<SDL_Rect>& PICKUP_T<KIND>::get_c_boxes() {
  return c_boxes;
}

template class PICKUP_T<RUBY_KIND>;
template class PICKUP_T<GHOST_KIND>;
