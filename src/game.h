#pragma once
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include "cannonball.h"
#include "coin.h"
#include "minigames/fight_class.h"
#include "minigames/minig_class.h"
#include "pickup.h"
#include "pirate.h"
#include "timer.h"
#include "treasure.h"

// Everything one run of the game owns, from start-up to shutdown. The game
// objects are made once and reset, not re-made, between games.
struct GAME {
  minis* myminis = nullptr;
  fighting* myfight = nullptr;
  TIMER fps;
  int score = 0;
  int ghost_counter = 0;   // frames pirate one has been a ghost
  int ghost_counter2 = 0;  // the same for pirate two
  int lives1 = 0;          // spare lives (hearts)
  int lives2 = 0;
  SDL_Surface* heart_sheet = nullptr;
  SDL_Rect heart_offset[2] = {};  // a life held, a life lost
  bool multi = false;             // two pirates; kept from game to game
  PIRATE* myPirate = nullptr;
  CANNONBALL* myCannonball = nullptr;
  COIN* myCoin = nullptr;
  RUBY* myRuby = nullptr;
  GHOSTPIRATE* myGPIRATE = nullptr;
  PIRATE2* myPirate2 = nullptr;
  TREASURE* myTreasure = nullptr;
  SDL_Surface* bg = nullptr;
  // The look's (look.h) title and text faces and its gold and brown, for
  // the screens of the game flow; the look owns and closes the faces.
  TTF_Font* font = nullptr;   // large: the title, the banner, the final score
  TTF_Font* font2 = nullptr;  // everything else
  SDL_Color textcolor = {};   // the in-game score
  SDL_Color textcolor2 = {};  // every other text
  Mix_Music* music = nullptr;
  SDL_Surface* logo = nullptr;  // the splash picture now shown
};

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
