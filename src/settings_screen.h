#pragma once
// The settings screen, reached from the mode screen: each player's keys and
// pad buttons, the game speed and the two volumes.
#include <SDL.h>

#include <string>

#include "game_state.h"
#include "settings.h"

// What the screen shows and where the player is on it. Lines 0 to 4 are the
// players' actions (two columns, one a player), then speed, music, effects
// and "Defaults", then the language, drawn beside Defaults.
enum SETTINGS_LINE {
  LINE_SPEED = PLAYER_MOVES,
  LINE_MUSIC,
  LINE_EFFECTS,
  LINE_DEFAULTS,
  LINE_LANGUAGE,
  LINES
};

struct SETTINGS_MENU {
  SETTINGS settings = current_settings();
  int line = 0;
  int column = 0;              // the player, on the actions' lines
  bool waiting = false;        // for the new key or button of the chosen action
  SDLKey held = SDLK_UNKNOWN;  // while waiting: a modifier pressed and not yet let go
  bool confirming = false;     // "Defaults" chosen once, waiting for a second Enter
  int enter_by = 1;            // Enter steps a value up, and down once at the top
  std::string message;         // a refusal or what to do now
};

// The action on the chosen line and column (ACTIONS on the other lines).
ACTION chosen_action(const SETTINGS_MENU& menu);

// One event: the arrow keys (and either player's directions) choose and
// change, Enter changes the chosen line, Escape cancels a change or leaves.
// A new key or button already another action's or the game's own is
// refused with a message. Changes are put in use at once. Returns false
// when the player leaves the screen.
bool settings_menu_event(SETTINGS_MENU& menu, const SDL_Event& e);

// Every waiting event through the event layer, each to settings_menu_event;
// while a new key is awaited every key comes as it is. False once the
// player leaves.
bool read_settings_events(SETTINGS_MENU& menu);

// The screen until the player leaves it; the settings are saved then if
// they changed.
void settings_screen(GAME& game);
