#include "settings_screen.h"

#include <algorithm>

#include "constants.h"
#include "globals.h"
#include "image.h"
#include "keycaps.h"
#include "languages.h"
#include "look.h"
#include "overlays.h"
#include "platform/catalog.h"
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
const int LINE_HEIGHT = LIST_ROW_HEIGHT;
const int MESSAGE_Y = 368;
const int PANEL_BOTTOM = KEYS_Y + 28;
const int PANEL_LEFT = 12;
const int COLUMN_LEFT[PLAYERS] = {24, 332};
const int COLUMN_WIDTH = 284;
const int BAND_MARGIN = 6;  // of a chosen line's band, left and right of its text

const char* const CONFIRM_DEFAULTS =
    // fit: LIST 600
    // Asks for a second Enter before every setting goes back to the game's own.
    N_("Enter again: every key, the speed and the volumes back to their defaults");
const char* const DEFAULTS_DONE =
    // fit: LIST 600
    N_("Every key, the speed and the volumes are back to their defaults");
const Uint32 NOT_SAVED_MS = 2000;

// The language line's choices in order: Automatic (""), English, then the
// game's other languages.
std::vector<std::string> language_choices() {
  std::vector<std::string> all = {"", ENGLISH};
  for (const LANGUAGE& l : languages()) all.push_back(l.code);
  return all;
}

// The choice by steps from language (1 the next, -1 the one before), round
// the list.
std::string step_language(const std::string& language, int by) {
  const std::vector<std::string> all = language_choices();
  const auto n = static_cast<int>(all.size());
  int at = 0;
  while (at < n && all[static_cast<size_t>(at)] != language) ++at;
  if (at == n) at = 0;
  return all[static_cast<size_t>(((at + by) % n + n) % n)];
}

std::string language_shown(const std::string& language) {
  if (language == ENGLISH) return "English";
  for (const LANGUAGE& l : languages()) {
    if (language == l.code) return l.name;
  }
  return automatic_label();
}

int line_y(int line) {
  return line < LINE_SPEED ? FIRST_ACTION_Y + LINE_HEIGHT * line
                           : FIRST_OTHER_Y + LINE_HEIGHT * (line - LINE_SPEED);
}

std::string shown_button(ACTION action, int button) {
  // fit: LIST 110
  // A gamepad's button; {1} is its number (0 to 99).
  if (button >= 0) return fill(tr("button {1}"), {std::to_string(button)});
  // The stick moves a pirate; a strike needs a button.
  // fit: LIST 110
  // A pirate moves with the gamepad's stick.
  const char* const stick = N_("stick");
  // fit: LIST 110
  // No gamepad button strikes.
  const char* const none = N_("no button");
  return tr(static_cast<int>(action) % PLAYER_MOVES < MOVE_STRIKE ? stick : none);
}

std::string action_title(ACTION action) {
  // A player's action: {1} is the player (1 or 2), {2} the action ("Up", "Strike").
  return fill(tr("P{1} {2}"), {std::to_string(static_cast<int>(action) / PLAYER_MOVES + 1),
                               tr(control(action).label)});
}

// Who holds a key or button already: a player's action, or the game's own.
std::string holder_title(ACTION owner) {
  return owner < PLAYER_ACTIONS ? action_title(owner) : tr(control(owner).label);
}

// A key refused because another action has it.
std::string taken(const std::string& key, const std::string& holder) {
  // fit: LIST 600
  // {1} is a key's name ("Right Ctrl", "Space"), {2} what that key does
  // already: a player's move ("P1 Strike") or the game's own action ("full
  // screen"). Let no word agree with either: the names vary.
  return fill(tr("Key {1} is taken: {2}"), {key, holder});
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
    // fit: LIST 600
    // A key the settings file could not write down by name.
    end_wait(menu, tr("That key cannot be chosen: it has no name to save it under"));
    return;
  }
  const ACTION owner = key_taken(menu.settings, action, key);
  if (owner != ACTIONS) {
    end_wait(menu, taken(keycap(key), holder_title(owner)));
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
      end_wait(menu, taken(tr(control(DESK_FULL_SCREEN_ALT).shown),
                           tr(control(DESK_FULL_SCREEN_ALT).label)));
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
      // fit: LIST 600
      // {1} is a gamepad button's number (0 to 99), {2} the player's move
      // that has it already ("P1 Strike").
      const char* const taken_button = tr("Button {1} is taken: {2}");
      end_wait(menu, fill(taken_button, {std::to_string(button), holder_title(owner)}));
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
    // fit: LIST 600
    // {1} is a player's action ("P1 Up").
    menu.message = fill(tr("Press a key or button for {1}"), {action_title(chosen_action(menu))});
  } else if (menu.line == LINE_LANGUAGE) {
    menu.settings.language = step_language(menu.settings.language, 1);
  } else if (menu.line == LINE_DEFAULTS) {
    if (confirmed) {
      // The language is not one of them: the player reads the screen in it.
      const std::string language = menu.settings.language;
      menu.settings = SETTINGS();
      menu.settings.language = language;
      menu.message = tr(DEFAULTS_DONE);
    } else {
      menu.confirming = true;
      menu.message = tr(CONFIRM_DEFAULTS);
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
    } else if (menu.line == LINE_LANGUAGE) {
      menu.settings.language = step_language(menu.settings.language, by);
    } else if (menu.line == LINE_DEFAULTS) {
      if (by > 0) menu.line = LINE_LANGUAGE;  // the line beside it
    } else {
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

// One line of the list: its name at the left, its value at the right, each
// on the row's baseline and its band no taller than the row. The chosen line
// stands out in the palette's gold. The value may need another face (a
// language's name, in its own letters).
void draw_line(const std::string& left, const std::string& right, int x, int width, int y,
               bool chosen, TTF_Font* right_face = nullptr) {
  TTF_Font* font = face(FACE::LIST);
  TTF_Font* value_font = right_face != nullptr ? right_face : font;
  const SDL_Color colour = chosen ? PANEL : GOLD;
  if (chosen) {
    const int h = font != nullptr ? std::min(TTF_FontHeight(font), LINE_HEIGHT) : 0;
    draw_panel(screen,
               SDL_Rect{static_cast<decltype(SDL_Rect::x)>(x - BAND_MARGIN),
                        static_cast<decltype(SDL_Rect::y)>(y),
                        static_cast<decltype(SDL_Rect::w)>(width + 2 * BAND_MARGIN),
                        static_cast<decltype(SDL_Rect::h)>(h)},
               GOLD);
  }
  draw_text(screen, font, left, colour, x, y - baseline_lift(font, FACE::LIST));
  draw_text(screen, value_font, right, colour, x + width, y - baseline_lift(value_font, FACE::LIST),
            ALIGN::RIGHT);
}

void draw_settings(const GAME& game, const SETTINGS_MENU& menu) {
  apply_surface(0, 0, game.bg, screen);
  // fit: TITLE 620
  draw_text(screen, face(FACE::TITLE), tr("Settings"), BROWN, 0, TITLE_Y, ALIGN::CENTRE);
  draw_panel(screen,
             SDL_Rect{PANEL_LEFT, PANEL_TOP, WIDTH - 2 * PANEL_LEFT, PANEL_BOTTOM - PANEL_TOP});
  TTF_Font* list = face(FACE::LIST);
  for (int player = 0; player < PLAYERS; ++player) {
    // fit: LIST 284
    // Over a player's column: {1} is the player (1 or 2); each line below
    // shows the key, then the gamepad's button.
    const std::string header = fill(tr("Player {1}: key / pad"), {std::to_string(player + 1)});
    draw_text(screen, list, header, GOLD, COLUMN_LEFT[player],
              HEADER_Y - baseline_lift(list, FACE::LIST));
    for (int move = 0; move < PLAYER_MOVES; ++move) {
      const ACTION action = player_action(player, static_cast<PLAYER_MOVE>(move));
      const bool chosen = menu.line == move && menu.column == player;
      const std::string key = chosen && menu.waiting ? "?" : keycap(menu.settings.keys[action]);
      draw_line(tr(control(action).label),
                key + " / " + shown_button(action, menu.settings.buttons[action]),
                COLUMN_LEFT[player], COLUMN_WIDTH, line_y(move), chosen);
    }
  }
  const int full = COLUMN_LEFT[1] + COLUMN_WIDTH - COLUMN_LEFT[0];
  const struct {
    int line;
    const char* name;
    int value;
  } values[] = {// fit: LIST 530
                // A slowed-down game leaves the records alone.
                {LINE_SPEED, N_("Game speed (below 100% keeps no records)"), menu.settings.speed},
                // fit: LIST 530
                {LINE_MUSIC, N_("Music volume"), menu.settings.music},
                // fit: LIST 530
                {LINE_EFFECTS, N_("Effects volume"), menu.settings.effects}};
  for (const auto& v : values) {
    draw_line(tr(v.name), std::to_string(v.value) + "%", COLUMN_LEFT[0], full, line_y(v.line),
              menu.line == v.line);
  }
  // fit: LIST 592
  // An action, not a state: the line that, when chosen, puts every setting
  // back to the game's own ("Reset to defaults", "Restore defaults").
  draw_line(tr("Defaults"), "", COLUMN_LEFT[0], COLUMN_WIDTH, line_y(LINE_DEFAULTS),
            menu.line == LINE_DEFAULTS);
  const std::string& language = menu.settings.language;
  draw_line(language_label(), language_shown(language), COLUMN_LEFT[1], COLUMN_WIDTH,
            line_y(LINE_DEFAULTS), menu.line == LINE_LANGUAGE,
            language.empty() ? nullptr
                             : face_of_language(FACE::LIST, language == ENGLISH ? "" : language));
  draw_text(screen, list, menu.message, GOLD, 0, MESSAGE_Y, ALIGN::CENTRE);
  // fit: LIST 600
  // "~" stands between the key and what it does.
  const char* const waiting_keys = N_("Escape ~ cancel");
  const char* const keys_here =
      // fit: LIST 600
      // "~" stands between the keys and what they do.
      N_("Up, Down ~ choose     Left, Right ~ change     Enter ~ set     Escape ~ back");
  const char* const keys = tr(menu.waiting ? waiting_keys : keys_here);
  draw_text(screen, list, keys, GOLD, 0, KEYS_Y, ALIGN::CENTRE);
}

// The changes hold for this run all the same; the player sees, before the
// screen goes, that they will be gone next time.
void said_not_saved(const GAME& game, SETTINGS_MENU& menu) {
  // fit: LIST 600
  menu.message = tr("These settings could not be saved for next time");
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
    // The screen speaks the language chosen on it at once, in its faces.
    follow_language();
    draw_settings(game, menu);
    show_frame(screen);
    pace_frame(timer);
  }
  if (current_settings() != before && !save_settings()) said_not_saved(game, menu);
}
