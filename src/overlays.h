#pragma once
#include <SDL.h>

// Every frame of the game is shown through show_frame, which draws over it
// what the player must see whatever the screen: the sign of the muted sound
// and, while a replay is watched, the watcher's band. With neither, the
// frame is shown exactly as it was drawn.
void show_frame(SDL_Surface* screen);

// The watcher's band, drawn over each frame while set (nullptr for none),
// along the bottom of the picture.
const int WATCH_BAND_HEIGHT = 30;
using FRAME_OVERLAY = void (*)(SDL_Surface* frame);
void set_watch_overlay(FRAME_OVERLAY overlay);
