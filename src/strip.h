#pragma once
#include <SDL.h>

// The coin, ruby, ghost and treasure pictures are strips of four 40 x 70
// cells, animated over a 15-frame cycle: cells 0 to 2 for four frames each,
// cell 3 for three.
const int STRIP_CELL_W = 40;
const int STRIP_CELL_H = 70;
const int STRIP_LAST_FRAME = 14;

void fill_strip_clips(SDL_Rect (&clips)[4]);

// The counter after frame: one step on, back to 0 after the last.
int next_strip_frame(int frame);
