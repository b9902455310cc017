#pragma once
#include <SDL.h>

// Shared by every screen of the game.
extern SDL_Surface* screen;  // the display surface
extern bool quit;            // leave the play loop or the game-over screen
extern bool start;           // leave the title, hint or mode screen
extern bool restart;         // play another game after this one
extern SDL_Event event;      // the screens' event record
