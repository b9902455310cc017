#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

// How a paused game looks: its frame shaded, with "Paused" on a dark panel
// in the middle. The pause (pause.h) draws it through the hook
// start-up sets.
void draw_paused(SDL_Surface* frame, TTF_Font* font, SDL_Color colour);

// Where that panel lies on a frame of w x h, so that what must stay visible
// while paused can keep clear of it.
SDL_Rect paused_panel(int w, int h, TTF_Font* font);
