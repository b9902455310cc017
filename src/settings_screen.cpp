#include "settings_screen.h"

#include "constants.h"
#include "globals.h"
#include "image.h"
#include "keycaps.h"
#include "look.h"
#include "overlays.h"
#include "platform/events.h"
#include "platform/key_names.h"
#include "platform/signals.h"
#include "text.h"

namespace {

// The list stands on a panel, one row a line in the list's face, then the
// message (a refusal, what to do now) and the keys that work here, on the
// line where the other screens have theirs: nothing of the beach under text.
const int PANEL_TOP = 108;
const int HEADER_Y = 114;
const int FIRST_ACTION_Y = 140;
const int FIRST_OTHER_Y = 266;
const int LINE_HEIGHT = 24;
const int MESSAGE_Y = 368;
const int PANEL_BOTTOM = KEYS_Y + 28;
const int PANEL_LEFT = 12;
const int COLUMN_LEFT[PLAYERS] = {24, 332};
const int COLUMN_WIDTH = 284;
const int BAND_MARGIN = 6;  // of a chosen line's band, left and right of its text

const char* const CONFIRM_DEFAULTS =
    "Enter again: every key, the speed and the volumes back to their defaults";
const char* const DEFAULTS_DONE = "Every key, the speed and the volumes are back to their defaults";
const Uint32 NOT_SAVED_MS = 2000;

int line_y(int line) {
  return line < LINE_SPEED ? FIRST_ACTION_Y + LINE_HEIGHT * line
                           : FIRST_OTHER_Y + LINE_HEIGHT * (line - LINE_SPEED);
}

std::string shown_button(ACTION action, int button) {
  if (button >= 0) return "button " + std::to_string(button);
  // The stick moves a pirate; a strike needs a button.
  return static_cast<int>(action) % PLAYER_MOVES < MOVE_STRIKE ? "stick" : "no button";
}

std::string action_title(ACTION action) {
  return "P" + std::to_string(static_cast<int>(action) / PLAYER_MOVES + 1) + " " +
         control(action).label;
}

// Who holds a key or button already: a player's action, or the game's own.
std::string holder_title(ACTION owner) {
  return owner < PLAYER_ACTIONS ? action_title(owner) : control(owner).label;
}

// The move a key press chooses with: the arrow keys first, whatever the
// players chose, then either player's own keys. PLAYER_MOVES for none.
PLAYER_MOVE direction_of(const SDL_Event& e) {
  if (e.type != SDL_KEYDOWN) return PLAYER_MOVES;
  const SDLKey key = e.key.keysym.sym;
  for (int move = 0; move < MOVE_STRIKE; ++move) {
    if (key == arrow_key(static_cast<PLAYER_MOVE>(move))) return static_cast<PLAYER_MOVE>(move);
  }
  for (int player = 0; player < PLAYERS; ++player) {
    for (int move = 0; move < MOVE_STRIKE; ++move) {
      if (key == player_key(player, static_cast<PLAYER_MOVE>(move))) {
        return static_cast<PLAYER_MOVE>(move);
      }
    }
  }
  return PLAYER_MOVES;
}

// The value on the chosen line, stepped by one step up (by = 1) or down,
// within its bounds.
void change_value(SETTINGS_MENU& menu, int by) {
  int* value = &menu.settings.speed;
  int low = SLOWEST_SPEED, high = FULL_SPEED, step = SPEED_STEP;
  if (menu.line != LINE_SPEED) {
    value = menu.line == LINE_MUSIC ? &menu.settings.music : &menu.settings.effects;
    low = 0;
    high = 100;
    step = VOLUME_STEP;
  }
  // Enter (by = 0) goes on the way it went, and turns back at either end.
  if (by == 0) {
    if (*value >= high) menu.enter_by = -1;
    if (*value <= low) menu.enter_by = 1;
    by = menu.enter_by;
  }
  *value += by * step;
  if (*value < low) *value = low;
  if (*value > high) *value = high;
}

void end_wait(SETTINGS_MENU& menu, const std::string& message) {
  menu.waiting = false;
  menu.held = SDLK_UNKNOWN;
  menu.message = message;
}

void bind_key(SETTINGS_MENU& menu, SDLKey key) {
  const ACTION action = chosen_action(menu);
  if (key_name(key) == key_name(SDLK_UNKNOWN) || key_named(key_name(key)) != key) {
    end_wait(menu, "That key has no name to keep it by");
    return;
  }
  const ACTION owner = key_taken(menu.settings, action, key);
  if (owner != ACTIONS) {
    end_wait(menu, keycap(key) + " is taken: " + holder_title(owner));
    return;
  }
  menu.settings.keys[action] = key;
  end_wait(menu, "");
}

// A key or button for the chosen action, or the reason it is refused.
// Escape and the pad's Back cancel. A modifier is taken only once let go
// alone, so a key pressed with it (Alt+Enter) is judged as the pair.
void take_new_binding(SETTINGS_MENU& menu, const SDL_Event& e) {
  if (e.type == SDL_KEYDOWN) {
    const SDLKey key = e.key.keysym.sym;
    if (key == key_of(MENU_QUIT)) {
      end_wait(menu, "");
    } else if (is_modifier(key)) {
      menu.held = key;
    } else if (key == key_of(DESK_FULL_SCREEN_ALT) && (e.key.keysym.mod & KMOD_ALT) != 0) {
      end_wait(menu, std::string(control(DESK_FULL_SCREEN_ALT).shown) +
                         " is taken: " + control(DESK_FULL_SCREEN_ALT).label);
    } else {
      bind_key(menu, key);
    }
  } else if (e.type == SDL_KEYUP && e.key.keysym.sym == menu.held) {
    bind_key(menu, menu.held);
  } else if (e.type == SDL_JOYBUTTONDOWN) {
    const ACTION action = chosen_action(menu);
    const int button = e.jbutton.button;
    if (button == pad_button_of(MENU_QUIT)) {
      end_wait(menu, "");
      return;
    }
    const ACTION owner = button_taken(menu.settings, action, button);
    if (owner != ACTIONS) {
      end_wait(menu, "Button " + std::to_string(button) + " is taken: " + holder_title(owner));
      return;
    }
    menu.settings.buttons[action] = button;
    end_wait(menu, "");
  }
}

void enter(SETTINGS_MENU& menu) {
  const bool confirmed = menu.confirming;
  menu.confirming = false;
  menu.message = "";
  if (menu.line < LINE_SPEED) {
    menu.waiting = true;
    menu.message = "Press a key or button for " + action_title(chosen_action(menu));
  } else if (menu.line == LINE_DEFAULTS) {
    if (confirmed) {
      menu.settings = SETTINGS();
      menu.message = DEFAULTS_DONE;
    } else {
      menu.confirming = true;
      menu.message = CONFIRM_DEFAULTS;
    }
  } else {
    change_value(menu, 0);
  }
}

// Up and down choose the line, left and right the player or the value.
void move(SETTINGS_MENU& menu, PLAYER_MOVE direction) {
  const int line = menu.line, column = menu.column;
  if (direction == MOVE_UP && menu.line > 0) --menu.line;
  if (direction == MOVE_DOWN && menu.line < LINES - 1) ++menu.line;
  if (direction == MOVE_LEFT || direction == MOVE_RIGHT) {
    const int by = direction == MOVE_LEFT ? -1 : 1;
    if (menu.line < LINE_SPEED) {
      menu.column = by < 0 ? 0 : 1;
    } else if (menu.line != LINE_DEFAULTS) {
      change_value(menu, by);
    }
  }
  if (menu.line != line || menu.column != column) {
    menu.confirming = false;
    menu.enter_by = 1;
    menu.message = "";
  }
}

}  // namespace

ACTION chosen_action(const SETTINGS_MENU& menu) {
  if (menu.line >= LINE_SPEED) return ACTIONS;
  return player_action(menu.column, static_cast<PLAYER_MOVE>(menu.line));
}

bool settings_menu_event(SETTINGS_MENU& menu, const SDL_Event& e) {
  if (menu.waiting) {
    take_new_binding(menu, e);
  } else if (pressed(e, MENU_QUIT)) {
    return false;
  } else if (pressed(e, MENU_NEXT)) {
    enter(menu);
  } else if (direction_of(e) != PLAYER_MOVES) {
    move(menu, direction_of(e));
  }
  if (menu.settings != current_settings()) use_settings(menu.settings);
  return true;
}

bool read_settings_events(SETTINGS_MENU& menu) {
  bool stay = true;
  SDL_Event e;
  pass_raw_input(menu.waiting);
  while (stay && poll_event(&e)) {
    stay = settings_menu_event(menu, e);
    pass_raw_input(menu.waiting);
  }
  pass_raw_input(false);
  return stay;
}

namespace {

// One line of the list: its name at the left, its value at the right. The
// chosen line stands out in the palette's gold.
void draw_line(const std::string& left, const std::string& right, int x, int width, int y,
               bool chosen) {
  TTF_Font* font = face(FACE::LIST);
  const SDL_Color colour = chosen ? PANEL : GOLD;
  if (chosen) {
    const int h = font != nullptr ? TTF_FontHeight(font) : 0;
    draw_panel(screen,
               SDL_Rect{static_cast<decltype(SDL_Rect::x)>(x - BAND_MARGIN),
                        static_cast<decltype(SDL_Rect::y)>(y),
                        static_cast<decltype(SDL_Rect::w)>(width + 2 * BAND_MARGIN),
                        static_cast<decltype(SDL_Rect::h)>(h)},
               GOLD);
  }
  draw_text(screen, font, left, colour, x, y);
  draw_text(screen, font, right, colour, x + width, y, ALIGN::RIGHT);
}

void draw_settings(const GAME& game, const SETTINGS_MENU& menu) {
  apply_surface(0, 0, game.bg, screen);
  draw_text(screen, face(FACE::TITLE), "Settings", BROWN, 0, TITLE_Y, ALIGN::CENTRE);
  draw_panel(screen,
             SDL_Rect{PANEL_LEFT, PANEL_TOP, WIDTH - 2 * PANEL_LEFT, PANEL_BOTTOM - PANEL_TOP});
  TTF_Font* list = face(FACE::LIST);
  for (int player = 0; player < PLAYERS; ++player) {
    const std::string header = "Player " + std::to_string(player + 1) + ": key / pad";
    draw_text(screen, list, header, GOLD, COLUMN_LEFT[player], HEADER_Y);
    for (int move = 0; move < PLAYER_MOVES; ++move) {
      const ACTION action = player_action(player, static_cast<PLAYER_MOVE>(move));
      const bool chosen = menu.line == move && menu.column == player;
      const std::string key = chosen && menu.waiting ? "?" : keycap(menu.settings.keys[action]);
      draw_line(control(action).label,
                key + " / " + shown_button(action, menu.settings.buttons[action]),
                COLUMN_LEFT[player], COLUMN_WIDTH, line_y(move), chosen);
    }
  }
  const int full = COLUMN_LEFT[1] + COLUMN_WIDTH - COLUMN_LEFT[0];
  const struct {
    int line;
    const char* name;
    int value;
  } values[] = {{LINE_SPEED, "Game speed (below 100% keeps no records)", menu.settings.speed},
                {LINE_MUSIC, "Music volume", menu.settings.music},
                {LINE_EFFECTS, "Effects volume", menu.settings.effects}};
  for (const auto& v : values) {
    draw_line(v.name, std::to_string(v.value) + "%", COLUMN_LEFT[0], full, line_y(v.line),
              menu.line == v.line);
  }
  draw_line("Defaults", "", COLUMN_LEFT[0], full, line_y(LINE_DEFAULTS),
            menu.line == LINE_DEFAULTS);
  draw_text(screen, list, menu.message, GOLD, 0, MESSAGE_Y, ALIGN::CENTRE);
  const char* const keys = menu.waiting
                               ? "Escape ~ cancel"
                               : "Up, Down ~ choose     Left, Right ~ change     Enter ~ set     "
                                 "Escape ~ back";
  draw_text(screen, list, keys, GOLD, 0, KEYS_Y, ALIGN::CENTRE);
}

// The changes hold for this run all the same; the player sees, before the
// screen goes, that they will be gone next time.
void said_not_saved(const GAME& game, SETTINGS_MENU& menu) {
  menu.message = "These settings could not be saved for next time";
  draw_settings(game, menu);
  show_frame(screen);
  wait_ms(NOT_SAVED_MS);
}

}  // namespace

void settings_screen(GAME& game) {
  const SETTINGS before = current_settings();
  SETTINGS_MENU menu;
  TIMER timer;
  for (bool stay = true; stay;) {
    timer.start();
    stay = read_settings_events(menu);
    draw_settings(game, menu);
    show_frame(screen);
    pace_frame(timer);
  }
  if (current_settings() != before && !save_settings()) said_not_saved(game, menu);
}
