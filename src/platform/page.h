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

// What crosses between the page and the game goes by name, both ways: these
// tables are the one description of it. web/page.cpp hands them to the
// page's scripts with every read (Module.pageInput(door)), which answer with
// what they hold under the same names; the game's messages out are
// Module.onPage's first argument. A name one side has and the other lacks
// fails a test (test_page_input.cpp reads the page's scripts).
// The players ("one-up" is player one's Up on the page), their moves in the
// order of HELD_MOVE, the menu's controls in the order of HELD_MENU.
constexpr const char* PAGE_PLAYER_NAMES[PAGE_PLAYERS] = {"one", "two"};
constexpr const char* HELD_MOVE_NAMES[HELD_MOVES] = {"up", "down", "left", "right", "strike"};
constexpr const char* HELD_MENU_NAMES[HELD_MENU_KEYS] = {"next", "players", "quit", "settings",
                                                         "pause"};
// A pad's fields, as the page hands each pad over.
enum PAD_FIELD { PAD_STANDARD, PAD_BUTTONS, PAD_X, PAD_Y, PAD_FIELDS };
constexpr const char* PAD_FIELD_NAMES[PAD_FIELDS] = {"standard", "buttons", "x", "y"};
// What the game tells the page.
enum PAGE_MESSAGE { SAY_PLAYERS, SAY_REPLAYS, SAY_REFUSED, SAY_TEXT, PAGE_MESSAGES };
constexpr const char* PAGE_MESSAGE_NAMES[PAGE_MESSAGES] = {"players", "replays", "refused", "text"};

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
