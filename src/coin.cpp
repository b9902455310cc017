#include "coin.h"

#include <cstdlib>

#include "image.h"
#include "random.h"
#include "sound.h"
#include "strip.h"

COIN::COIN() : x(0), y(0), frame(0), sprite_sheet(nullptr), offSets(), c_boxes(1), effect(nullptr) {
  effect = load_sound("sfx/coin.wav");
  x = 40 + game_rand() % 520;
  y = 40 + game_rand() % 375;
  sprite_sheet = load_image("sprites\\treasure_sheet.png");
  fill_strip_clips(offSets);
}

COIN::~COIN() {
  SDL_FreeSurface(sprite_sheet);
  Mix_FreeChunk(effect);
}

void COIN::show(SDL_Surface* dest) {
  frame = next_strip_frame(frame);
  apply_surface(x, y, sprite_sheet, dest, &offSets[frame / 4]);
}

void COIN::replace() {
  play_sound(effect);
  x = 40 + game_rand() % 520;
  y = 40 + game_rand() % 375;
  c_boxes[0] = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), 40, 40};
}

std::vector<SDL_Rect>& COIN::get_c_boxes() { return c_boxes; }
