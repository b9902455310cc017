#include "minigames/mini1.h"

void mini1(int& score, SDL_Surface*& screen) {
  (void)score;
  (void)screen;
}
