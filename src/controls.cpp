#include "controls.h"

#include "platform/events.h"
#include "platform/gamepad.h"
#include "settings.h"

namespace {

// clang-format off
const CONTROL TABLE[ACTIONS] = {
    {P1_UP, "p1.up", "Up", SDLK_UP, -1, "arrow keys"},
    {P1_DOWN, "p1.down", "Down", SDLK_DOWN, -1, "arrow keys"},
    {P1_LEFT, "p1.left", "Left", SDLK_LEFT, -1, "arrow keys"},
    {P1_RIGHT, "p1.right", "Right", SDLK_RIGHT, -1, "arrow keys"},
    {P1_STRIKE, "p1.strike", "Strike", SDLK_RCTRL, GAMEPAD_STRIKE_BUTTON, "Right Ctrl"},
    {P2_UP, "p2.up", "Up", SDLK_w, -1, "W, A, S, D"},
    {P2_DOWN, "p2.down", "Down", SDLK_s, -1, "W, A, S, D"},
    {P2_LEFT, "p2.left", "Left", SDLK_a, -1, "W, A, S, D"},
    {P2_RIGHT, "p2.right", "Right", SDLK_d, -1, "W, A, S, D"},
    {P2_STRIKE, "p2.strike", "Strike", SDLK_g, GAMEPAD_STRIKE_BUTTON, "G"},
    {MENU_NEXT, "next", "next", SDLK_RETURN, GAMEPAD_START_BUTTON, "Enter"},
    {MENU_PLAYERS, "players", "players", SDLK_SPACE, -1, "Space"},
    {MENU_QUIT, "quit", "quit", SDLK_ESCAPE, GAMEPAD_BACK_BUTTON, "Escape"},
    {MENU_SETTINGS, "settings", "settings", SDLK_c, -1, "C"},
    {DESK_PAUSE, "pause", "pause", SDLK_p, -1, "P"},
    {DESK_PAUSE_KEY, "pause", "pause", SDLK_PAUSE, -1, "Pause"},
    {DESK_MUTE, "mute", "mute", SDLK_m, -1, "M"},
    {DESK_FULL_SCREEN, "full screen", "full screen", SDLK_F11, -1, "F11"},
    {DESK_FULL_SCREEN_ALT, "full screen", "full screen", SDLK_RETURN, -1, "Alt+Enter"},
    {WATCH_GAME, "watch", "watch", SDLK_r, -1, "R"},
    {WATCH_PAUSE, "watch pause", "pause", SDLK_SPACE, -1, "Space"},
    {WATCH_FASTER, "watch faster", "faster", SDLK_RIGHT, -1, "Right"},
    {WATCH_NORMAL, "watch normal", "normal speed", SDLK_LEFT, -1, "Left"},
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

// The defaults are handed down before main, so the event layer never runs
// without them.
const bool PUBLISHED = (publish_controls(), true);

}  // namespace

const CONTROL& control(ACTION action) { return TABLE[action]; }

SDLKey key_of(ACTION action) {
  if (action < PLAYER_ACTIONS) return current_settings().keys[action];
  return TABLE[action].key;
}

SDLKey player_key(int player, PLAYER_MOVE move) { return key_of(player_action(player, move)); }

bool pressed(const SDL_Event& e, ACTION action) {
  return e.type == SDL_KEYDOWN && e.key.keysym.sym == key_of(action);
}

SDLKey arrow_key(PLAYER_MOVE move) { return TABLE[player_action(0, move)].key; }

bool is_modifier(SDLKey key) { return key >= SDLK_RSHIFT && key <= SDLK_MODE; }

int pad_button_of(ACTION action) {
  if (action < PLAYER_ACTIONS) return current_settings().buttons[action];
  return TABLE[action].button;
}

void publish_controls() {
  (void)PUBLISHED;
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
                                   key_of(MENU_NEXT), key_of(MENU_QUIT)});
}
