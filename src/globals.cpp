#include "globals.h"

SDL_Surface* screen = nullptr;
bool quit = false;
bool start = false;
bool restart = true;
SDL_Event event;
