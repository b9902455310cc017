#pragma once
#include "game_state.h"

// Starts the libraries, opens the window and makes every game object (whose
// places come from rand(): seed it first). On failure says why on stderr,
// cleans up and returns false. A stop signal (platform/signals.h) ends it
// between steps and files, returning false in silence with the libraries
// left open: SDL_main then leaves at once.
bool start_up(GAME& game);

// The whole run after start-up: splash, title and hints, then one game
// after another until the players leave.
void run(GAME& game);

// Closes the libraries and deletes the game objects.
void shut_down(GAME& game);

// The game's entry: reads the command line (--help and --version end there),
// seeds rand() with the time, then start-up, the run and shutdown. Returns
// the exit status. C linkage, as SDL's headers declare it.
extern "C" int SDL_main(int argc, char* args[]);
