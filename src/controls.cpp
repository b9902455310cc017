#include "controls.h"

#include "platform/catalog.h"
#include "platform/events.h"
#include "platform/gamepad.h"
#include "sound_levels.h"

namespace {

// clang-format off
// The labels name a player's move on the settings screen, or say what one of
// the game's own keys does when a player picks that key; a key's name is
// marked where the screens show it.
const CONTROL TABLE[ACTIONS] = {
    // fit: LIST 110
    // A player's move, a direction ("P1 Up" on the settings screen): not the
    // key of that name. Then how the help names the four keys together.
    {P1_UP, "p1.up", NC_("move", "Up"), SDLK_UP, -1, N_("arrow keys")},
    // fit: LIST 110
    // A player's move, a direction: not the key of that name.
    {P1_DOWN, "p1.down", NC_("move", "Down"), SDLK_DOWN, -1, N_("arrow keys")},
    // fit: LIST 110
    // A player's move, a direction: not the key of that name.
    {P1_LEFT, "p1.left", NC_("move", "Left"), SDLK_LEFT, -1, N_("arrow keys")},
    // fit: LIST 110
    // A player's move, a direction: not the key of that name.
    {P1_RIGHT, "p1.right", NC_("move", "Right"), SDLK_RIGHT, -1, N_("arrow keys")},
    // fit: LIST 110
    // A player's sword stroke in the fight, a verb; then the key's name.
    {P1_STRIKE, "p1.strike", N_("Strike"), SDLK_RCTRL, GAMEPAD_STRIKE_BUTTON, N_("Right Ctrl")},
    {P2_UP, "p2.up", NC_("move", "Up"), SDLK_w, -1, "W, A, S, D"},
    {P2_DOWN, "p2.down", NC_("move", "Down"), SDLK_s, -1, "W, A, S, D"},
    {P2_LEFT, "p2.left", NC_("move", "Left"), SDLK_a, -1, "W, A, S, D"},
    {P2_RIGHT, "p2.right", NC_("move", "Right"), SDLK_d, -1, "W, A, S, D"},
    {P2_STRIKE, "p2.strike", N_("Strike"), SDLK_g, GAMEPAD_STRIKE_BUTTON, "G"},
    // What a key does, an action ("Key Enter is taken: next"): goes on to the
    // next screen.
    {MENU_NEXT, "next", N_("next"), SDLK_RETURN, GAMEPAD_START_BUTTON, "Enter"},
    // What a key does, an action: chooses one or two players. Then the key's
    // name on the keyboard.
    {MENU_PLAYERS, "players", N_("players"), SDLK_SPACE, -1, N_("Space")},
    // What a key does, an action, a verb; then the key's name on the keyboard.
    {MENU_QUIT, "quit", N_("quit"), SDLK_ESCAPE, GAMEPAD_BACK_BUTTON, N_("Escape")},
    // What a key does, an action: opens the settings.
    {MENU_SETTINGS, "settings", N_("settings"), SDLK_c, -1, "C"},
    // What a key does, an action, a verb: pauses the game.
    {DESK_PAUSE, "pause", N_("pause"), SDLK_p, -1, "P"},
    // The key's name on the keyboard, not the action.
    {DESK_PAUSE_KEY, "pause", N_("pause"), SDLK_PAUSE, -1, NC_("key", "Pause")},
    // What a key does, an action, a verb: turns the sound off and on again
    // ("Key M is taken: mute"), not the state of being silent.
    {DESK_MUTE, "mute", N_("mute"), SDLK_m, -1, "M"},
    // What a key does, an action: switches between full screen and a window.
    {DESK_FULL_SCREEN, "full screen", N_("full screen"), SDLK_F11, -1, "F11"},
    // The keys pressed together, as on the keyboard.
    {DESK_FULL_SCREEN_ALT, "full screen", N_("full screen"), SDLK_RETURN, -1, N_("Alt+Enter")},
    // What a key does, an action, a verb: watch the game just played.
    {WATCH_GAME, "watch", N_("watch"), SDLK_r, -1, "R"},
    // What a key does while a replay is watched, a verb; then the key's name.
    {WATCH_PAUSE, "watch pause", NC_("replay", "pause"), SDLK_SPACE, -1, N_("Space")},
    // What a key does while a replay is watched, a verb: plays it faster.
    // Then the key's name on the keyboard, not the move.
    {WATCH_FASTER, "watch faster", NC_("replay", "speed up"), SDLK_RIGHT, -1, NC_("key", "Right")},
    // What a key does while a replay is watched, a verb: back to its own
    // speed. Then the key's name on the keyboard, not the move.
    {WATCH_NORMAL, "watch normal", NC_("replay", "reset speed"), SDLK_LEFT, -1, NC_("key", "Left")},
};
// clang-format on

// The pad's parts in the order the event layer numbers them.
static_assert(PAGE_PLAYERS == PLAYERS && int{HELD_UP} == MOVE_UP && int{HELD_DOWN} == MOVE_DOWN &&
                  int{HELD_LEFT} == MOVE_LEFT && int{HELD_RIGHT} == MOVE_RIGHT &&
                  int{HELD_STRIKE} == MOVE_STRIKE && int{HELD_MOVES} == PLAYER_MOVES,
              "the page holds the players' moves in their order");
const PLAYER_MOVE PAD_MOVES[PAD_PARTS] = {MOVE_UP,     MOVE_DOWN,    MOVE_LEFT,   MOVE_RIGHT,
                                          MOVE_STRIKE, PLAYER_MOVES, PLAYER_MOVES};

// The page's menu controls, in the order of HELD_MENU.
const ACTION HELD_MENU_ACTIONS[HELD_MENU_KEYS] = {MENU_NEXT, MENU_PLAYERS, MENU_QUIT, MENU_SETTINGS,
                                                  DESK_PAUSE};

// The players' keys and buttons as the settings chose them (use_bindings);
// the table's own until then.
bool bound = false;
SDLKey bound_keys[PLAYER_ACTIONS];
int bound_buttons[PLAYER_ACTIONS];

}  // namespace

const CONTROL& control(ACTION action) { return TABLE[action]; }

SDLKey key_of(ACTION action) {
  if (bound && action < PLAYER_ACTIONS) return bound_keys[action];
  return TABLE[action].key;
}

SDLKey player_key(int player, PLAYER_MOVE move) { return key_of(player_action(player, move)); }

bool pressed(const SDL_Event& e, ACTION action) {
  return e.type == SDL_KEYDOWN && e.key.keysym.sym == key_of(action);
}

SDLKey arrow_key(PLAYER_MOVE move) { return TABLE[player_action(0, move)].key; }

bool is_modifier(SDLKey key) { return key >= SDLK_RSHIFT && key <= SDLK_MODE; }

int pad_button_of(ACTION action) {
  if (bound && action < PLAYER_ACTIONS) return bound_buttons[action];
  return TABLE[action].button;
}

void use_bindings(const SDLKey keys[PLAYER_ACTIONS], const int buttons[PLAYER_ACTIONS]) {
  for (int a = 0; a < PLAYER_ACTIONS; ++a) {
    bound_keys[a] = keys[a];
    bound_buttons[a] = buttons[a];
  }
  bound = true;
  publish_controls();
}

void publish_controls() {
  PAD_MAP map;
  for (int pad = 0; pad < GAMEPAD_COUNT; ++pad) {
    for (int part = 0; part < PAD_PARTS; ++part) {
      const PLAYER_MOVE move = PAD_MOVES[part];
      const ACTION action = move < PLAYER_MOVES ? player_action(pad, move)
                            : part == PAD_BACK  ? MENU_QUIT
                                                : MENU_NEXT;
      map.keys[pad][part] = key_of(action);
      map.buttons[pad][part] = pad_button_of(action);
    }
  }
  set_pad_map(map);
  HELD_KEY_MAP held;
  for (int player = 0; player < PAGE_PLAYERS; ++player) {
    for (int move = 0; move < HELD_MOVES; ++move) {
      held.moves[player][move] = player_key(player, static_cast<PLAYER_MOVE>(move));
    }
  }
  for (int i = 0; i < HELD_MENU_KEYS; ++i) held.menu[i] = key_of(HELD_MENU_ACTIONS[i]);
  set_held_keys(held);
  set_desktop_keys(DESKTOP_KEY_MAP{key_of(DESK_FULL_SCREEN), key_of(DESK_FULL_SCREEN_ALT),
                                   key_of(DESK_MUTE), key_of(DESK_PAUSE), key_of(DESK_PAUSE_KEY),
                                   key_of(MENU_NEXT), key_of(MENU_QUIT), toggle_mute});
}
