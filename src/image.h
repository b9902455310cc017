#pragma once
#include <SDL.h>

#include <string>

// Loads an image in the screen's format with pure cyan as its transparent
// colour. Returns null when the file cannot be read. Call after the video
// mode is set; the caller frees the surface.
SDL_Surface* load_image(const std::string& filename);

// Blits src (or its clip part) with its top-left corner at (x, y).
// A null src draws nothing.
void apply_surface(int x, int y, SDL_Surface* src, SDL_Surface* dest, SDL_Rect* clip = nullptr);
