#pragma once
#include <SDL.h>

#include <string>

// The mini-games' names for the image helpers: load and apply behave exactly
// as load_image and apply_surface.
SDL_Surface* load(const std::string& filename);
void apply(int x, int y, SDL_Surface* src, SDL_Surface* dest, SDL_Rect* clip = nullptr);

// One rectangle against another. Rectangles whose horizontal edges only meet
// (one's bottom at the other's top) collide; rectangles whose vertical edges
// only meet do not. The mini-games' landings and hits rely on this.
bool collision(SDL_Rect A, SDL_Rect B);
