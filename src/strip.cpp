#include "strip.h"

void fill_strip_clips(SDL_Rect (&clips)[4]) {
  for (int k = 0; k < 4; ++k) {
    clips[k] = SDL_Rect{static_cast<Sint16>(STRIP_CELL_W * k), 0, STRIP_CELL_W, STRIP_CELL_H};
  }
}

int next_strip_frame(int frame) {
  ++frame;
  return frame > STRIP_LAST_FRAME ? 0 : frame;
}
