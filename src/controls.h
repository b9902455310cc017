#pragma once
// The one table of the game's controls: every action, the key that does it
// and the pad button, if any. Every loop asks here which key does what; the
// players' ten actions can be changed (settings.h), the rest stay fixed.
#include <SDL.h>

// What each player can do. The trap run's jump is Up; the treasure boxes
// open with the four directions.
enum PLAYER_MOVE { MOVE_UP, MOVE_DOWN, MOVE_LEFT, MOVE_RIGHT, MOVE_STRIKE, PLAYER_MOVES };
constexpr int PLAYERS = 2;

enum ACTION {
  P1_UP,
  P1_DOWN,
  P1_LEFT,
  P1_RIGHT,
  P1_STRIKE,
  P2_UP,
  P2_DOWN,
  P2_LEFT,
  P2_RIGHT,
  P2_STRIKE,
  MENU_NEXT,      // go on, play, resume a pause
  MENU_PLAYERS,   // one or two players, on the mode screen
  MENU_QUIT,      // leave a screen, end a game, a mini-game or the fight
  MENU_SETTINGS,  // the settings screen, from the mode screen
  DESK_PAUSE,
  DESK_PAUSE_KEY,
  DESK_MUTE,
  DESK_FULL_SCREEN,
  DESK_FULL_SCREEN_ALT,  // with Alt held
  // Watching a recorded game: R on the game-over screen, then the watcher's
  // own keys. They act only where no player's key does, so they clash with
  // none.
  WATCH_GAME,
  WATCH_PAUSE,
  WATCH_FASTER,
  WATCH_NORMAL,
  ACTIONS
};
constexpr int PLAYER_ACTIONS = PLAYERS * PLAYER_MOVES;

constexpr ACTION player_action(int player, PLAYER_MOVE move) {
  return static_cast<ACTION>(player * PLAYER_MOVES + move);
}

// One row of the table.
struct CONTROL {
  ACTION action;
  const char* name;   // in the settings file
  const char* label;  // on the settings screen: a player's move ("Up"), what the game's own
                      // key does ("mute")
  SDLKey key;         // the key it has unless the player changed it
  int button;         // the pad button (any pad for the menu, the player's own pad for a
                      // player's action), -1 for none
  const char* shown;  // how the help texts name the key
};

// Every action, in the order of ACTION.
const CONTROL& control(ACTION action);

// The key that does an action now.
SDLKey key_of(ACTION action);
SDLKey player_key(int player, PLAYER_MOVE move);

// The arrow keys (player one's by default), which choose on the settings
// screen whatever keys the players have chosen.
SDLKey arrow_key(PLAYER_MOVE move);

// Shift, Ctrl, Alt and the like: keys a player holds while pressing another.
bool is_modifier(SDLKey key);

// Whether e is the press of the action's key.
bool pressed(const SDL_Event& e, ACTION action);

// The pad button of a player's action now, -1 for none.
int pad_button_of(ACTION action);

// The players' keys and buttons from now on (the settings hand theirs over
// whenever they change); each action keeps the table's until then. Hands
// them down to the event layer, as publish_controls does.
void use_bindings(const SDLKey keys[PLAYER_ACTIONS], const int buttons[PLAYER_ACTIONS]);

// Hands the current keys and buttons down to the event layer: the desktop
// keys, and what each pad's stick, d-pad and buttons press. The entry point
// calls it first, and use_bindings whenever they change.
void publish_controls();
