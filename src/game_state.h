#pragma once
// The run's state: the game objects and the game-flow state the screens,
// the play loop and the replays share, by the names they use. It stands
// below every screen and above the objects; the look (look.h) holds the
// faces and colours.
#include <SDL.h>
#include <SDL_mixer.h>

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
  Mix_Music* music = nullptr;
  SDL_Surface* logo = nullptr;  // the splash picture now shown
};
