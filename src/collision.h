#pragma once
#include <SDL.h>

#include <vector>

// True when any box of A overlaps any box of B. Boxes that only touch along
// an edge do not overlap.
bool check_collision(std::vector<SDL_Rect>& A, std::vector<SDL_Rect>& B);
bool check_collision(std::vector<SDL_Rect>& A, SDL_Rect B);

// For boxes that have just moved straight by (dx, dy), given where they
// started: true when one of them, clear of a box of A at the start,
// overlapped that box anywhere along the way, under the same rule. Unless
// the step is longer than A's boxes measure along it, this finds only boxes
// that overlap A where they ended.
bool check_flight(std::vector<SDL_Rect>& A, std::vector<SDL_Rect>& B_before, int dx, int dy);
