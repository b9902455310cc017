#pragma once
#include <SDL.h>

#include <vector>

// True when any box of A overlaps any box of B. Boxes that only touch along
// an edge do not overlap.
bool check_collision(std::vector<SDL_Rect>& A, std::vector<SDL_Rect>& B);
bool check_collision(std::vector<SDL_Rect>& A, SDL_Rect B);
