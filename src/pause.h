#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

// While one of these exists (a game in play, with the mini-games and the
// sword fight inside it), P, Pause and losing the input focus pause the game
// (events.h); the paused look is drawn in font and colour.
class PAUSABLE {
 public:
  PAUSABLE(TTF_Font* font, SDL_Color colour);
  ~PAUSABLE();
  PAUSABLE(const PAUSABLE&) = delete;
  PAUSABLE& operator=(const PAUSABLE&) = delete;
};

// Whether a game that can be paused is in play.
bool pausable();

// The paused game for as long as one of these lives: the frame on screen
// stays, shaded, with "Paused" over it; music and effects pause; the time
// it lasts counts as paused. The frame is put back as it was afterwards, for
// a loop that had drawn it but not yet flipped it.
class PAUSED_SCREEN {
 public:
  PAUSED_SCREEN();
  ~PAUSED_SCREEN();
  PAUSED_SCREEN(const PAUSED_SCREEN&) = delete;
  PAUSED_SCREEN& operator=(const PAUSED_SCREEN&) = delete;

  // Shows it again, after the window was uncovered.
  void show_again();

 private:
  SDL_Surface* screen;
  SDL_Surface* kept;
  Uint32 since;
};

// How a paused game looks, drawn over its frame in the font and colour the
// PAUSABLE was given; the game sets it at start-up.
using PAUSED_LOOK = void (*)(SDL_Surface* frame, TTF_Font* font, SDL_Color colour);
void set_paused_look(PAUSED_LOOK look);

// Milliseconds spent paused since the program started. The frame timer
// leaves them out, so the frame a pause interrupted is not a slow one.
Uint32 paused_ms();
