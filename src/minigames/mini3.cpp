#include "minigames/mini3.h"

void mini3(int& score, SDL_Surface*& screen) {
  (void)score;
  (void)screen;
}
