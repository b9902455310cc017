#include "minigames/mini2.h"

void mini2(int& score, SDL_Surface*& screen) {
  (void)score;
  (void)screen;
}
