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

// A rectangle from whole numbers.
SDL_Rect rect(int x, int y, int w, int h);

// Steering of the two pirates in the mini-games that let them walk freely:
// each player's four direction keys steer his pirate, each press
// adding 10 pixels per frame and each release taking them off again. A
// player's releases count only once he has pressed one of his keys in this
// game (moved), so keys held down from the main game cannot push him about.
// Returns whether the event was a movement key.
struct STEERING {
  int& xVel1;
  int& yVel1;
  bool& moved1;
  int& xVel2;
  int& yVel2;
  bool& moved2;
};
bool steer_pirates(const SDL_Event& e, STEERING pirates);
