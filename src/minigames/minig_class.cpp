#include "minigames/minig_class.h"

#include <cstdlib>

#include "minigames/funcs.h"
#include "minigames/mini1.h"
#include "minigames/mini2.h"
#include "minigames/mini3.h"
#include "random.h"
#include "sound.h"
#include "strip.h"

minis::minis()
    : sheet(nullptr),
      x(0),
      y(0),
      frame(0),
      game(TRAP_RUN),
      there_is(false),
      hitbox(),
      offsets(),
      effect(nullptr) {
  effect = load_sound("sfx/mini_enter.wav");
  sheet = load("minigames/map_sheet.png");
  fill_strip_clips(offsets);
}

minis::~minis() {
  SDL_FreeSurface(sheet);
  Mix_FreeChunk(effect);
}

void minis::place() {
  if (there_is) return;  // a piece on the playfield keeps its place and its game
  there_is = true;
  x = 40 + game_rand() % 520;
  y = 40 + game_rand() % 300;
  hitbox = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), 40, 40};
  game = game_rand() % 3;
}

void minis::show(SDL_Surface*& screen) {
  if (!there_is) return;
  apply(x, y, sheet, screen, &offsets[frame / 3]);
  ++frame;
  if (frame > 11) frame = 0;
}

void minis::collect(int& score, SDL_Surface*& screen) {
  if (!there_is) return;
  play_sound(effect);
  if (game == TRAP_RUN) {
    mini1(score, screen);
  } else if (game == TREASURE_BOXES) {
    mini2(score, screen);
  } else {
    mini3(score, screen);
  }
  there_is = false;
}

bool minis::is_on() { return there_is; }

SDL_Rect minis::get_hitbox() { return hitbox; }
