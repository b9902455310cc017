#pragma once
// The one way between the page around the browser build and the game. Into
// the game: what the page's touch controls and the browser's gamepads hold,
// which the event layer reads as it reads SDL's own joysticks (events.h) and
// turns into the keys the game has given it. Out of the game: what the page
// shows around the picture. The desktop has no page: nothing is held there and
// what the game says goes nowhere (page.cpp); web/page.cpp is the browser's.
#include <SDL.h>

#include <string>

constexpr int PAGE_PLAYERS = 2;
constexpr int PAGE_PADS = 2;

// What a player's touch controls hold, a bit each.
enum HELD_MOVE { HELD_UP, HELD_DOWN, HELD_LEFT, HELD_RIGHT, HELD_STRIKE, HELD_MOVES };
// The menu's touch controls, a bit each.
enum HELD_MENU { HELD_NEXT, HELD_PLAYERS, HELD_QUIT, HELD_SETTINGS, HELD_PAUSE, HELD_MENU_KEYS };

// One browser gamepad, numbered as SDL numbers a joystick's parts: its
// pressed buttons a bit each, the left stick's two axes (-32768 to 32767),
// the d-pad as SDL's hat bits.
struct PAGE_PAD {
  Uint32 buttons = 0;
  Sint16 axes[2] = {};
  Uint8 hat = 0;
};

struct PAGE_INPUT {
  unsigned moves[PAGE_PLAYERS] = {};  // bits of HELD_MOVE
  unsigned menu = 0;                  // bits of HELD_MENU
  PAGE_PAD pads[PAGE_PADS];           // all zero where no pad is
};

// What the page holds now.
PAGE_INPUT page_input();

// Switches the page's own full screen; false where there is no page, and
// the window's full screen is the game's to switch.
bool page_full_screen();

// Whether there is a page to tell anything (not on the desktop).
bool page_listens();

// Whether pirate two plays, as the mode screen shows it.
void page_players(bool two);

// The replays kept, as paths ("" for none): the last game's and the best one
// (by the attract mode's rule), said as the program ends.
void page_replays(const std::string& last, const std::string& best);

// Why the replay the page asked for cannot be watched, in one line.
void page_replay_refused(const std::string& why);

// A text the page shows, by its name there, in the player's language.
void page_text(const char* name, const std::string& text);

// The desktop's stand-in for a page, for its tests: while one is set,
// page_listens() is true and what the game tells the page goes to it (the
// text's name, "replay-refused" or "replays", and the text; the replays' two
// paths on two lines). The game never sets one.
using PAGE_TOLD = void (*)(const std::string& what, const std::string& text);
PAGE_TOLD set_page_told(PAGE_TOLD told);
