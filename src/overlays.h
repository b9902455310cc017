#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

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

// The small face of the signs and the band (opened on first use), their
// panel's colour and their text's.
TTF_Font* sign_font();
extern const SDL_Color SIGN_PANEL;
extern const SDL_Color SIGN_TEXT;

// Text on a panel of the panel colour, with room around it; x as ALIGN::LEFT
// or the right edge when right is set.
void draw_sign(SDL_Surface* frame, const char* text, int x, int y, bool right);

// Closes the face (at shut-down).
void close_overlays();
