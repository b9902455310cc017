#include "settings_screen.h"

#include <cctype>

#include "constants.h"
#include "globals.h"
#include "image.h"
#include "platform/events.h"
#include "platform/signals.h"
#include "text.h"

namespace {

const int SMALL_POINTS = 24;  // the game's text face, smaller, for a long list
const int HEADER_Y = 118;
const int FIRST_ACTION_Y = 148;
const int FIRST_OTHER_Y = 292;
const int LINE_HEIGHT = 27;
const int MESSAGE_Y = 402;
const int HELP_Y = 440;
const int COLUMN_LEFT[PLAYERS] = {24, 332};
const int COLUMN_WIDTH = 284;
const SDL_Color HIGHLIGHT = {45, 22, 4, 0};
const Uint32 NOT_SAVED_MS = 2000;

int line_y(int line) {
  return line < LINE_SPEED ? FIRST_ACTION_Y + LINE_HEIGHT * line
                           : FIRST_OTHER_Y + LINE_HEIGHT * (line - LINE_SPEED);
}

// SDL names keys in lower case; the screen shows "Right Ctrl", "W".
std::string shown_key(SDLKey key) {
  std::string name = key_name(key);
  bool word_start = true;
  for (char& c : name) {
    if (word_start) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    word_start = c == ' ';
  }
  return name;
}

std::string shown_button(ACTION action, int button) {
  if (button >= 0) return "button " + std::to_string(button);
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

bool is_direction(const SDL_Event& e, PLAYER_MOVE move) {
  if (e.type != SDL_KEYDOWN) return false;
  for (int player = 0; player < PLAYERS; ++player) {
    if (e.key.keysym.sym == player_key(player, move)) return true;
  }
  return false;
}

void step_value(int& value, int low, int high, int step, int by) {
  value += by * step;
  if (value < low) value = low;
  if (value > high) value = high;
}

// Left and right (by -1, +1) on the speed and volume lines; Enter goes round.
void change_value(SETTINGS_MENU& menu, int by, bool wrap) {
  int* value = &menu.settings.speed;
  int low = SLOWEST_SPEED, high = FULL_SPEED, step = SPEED_STEP;
  if (menu.line != LINE_SPEED) {
    value = menu.line == LINE_MUSIC ? &menu.settings.music : &menu.settings.effects;
    low = 0;
    high = 100;
    step = VOLUME_STEP;
  }
  if (wrap && *value == high) {
    *value = low;
  } else {
    step_value(*value, low, high, step, by);
  }
}

// A key or button for the chosen action, or the reason it is refused.
void take_new_binding(SETTINGS_MENU& menu, const SDL_Event& e) {
  const ACTION action = chosen_action(menu);
  if (e.type == SDL_KEYDOWN) {
    const SDLKey key = e.key.keysym.sym;
    menu.waiting = false;
    if (key == key_of(MENU_QUIT)) {
      menu.message = "";
      return;
    }
    if (key_name(key) == key_name(SDLK_UNKNOWN) || key_named(key_name(key)) != key) {
      menu.message = "That key has no name to keep it by";
      return;
    }
    const ACTION owner = key_taken(menu.settings, action, key);
    if (owner != ACTIONS) {
      menu.message = shown_key(key) + " is taken: " + holder_title(owner);
      return;
    }
    menu.settings.keys[action] = key;
    menu.message = "";
  } else if (e.type == SDL_JOYBUTTONDOWN) {
    const int button = e.jbutton.button;
    menu.waiting = false;
    if (button == pad_button_of(MENU_QUIT)) {
      menu.message = "";
      return;
    }
    const ACTION owner = button_taken(menu.settings, action, button);
    if (owner != ACTIONS) {
      menu.message = "Button " + std::to_string(button) + " is taken: " + holder_title(owner);
      return;
    }
    menu.settings.buttons[action] = button;
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
    menu.message = "";
    if (menu.line < LINE_SPEED) {
      menu.waiting = true;
      menu.message = "Press a key or button for " + action_title(chosen_action(menu));
    } else if (menu.line == LINE_DEFAULTS) {
      menu.settings = SETTINGS();
      menu.message = "Everything is back as it was";
    } else {
      change_value(menu, 1, true);
    }
  } else if (is_direction(e, MOVE_UP)) {
    if (menu.line > 0) --menu.line;
  } else if (is_direction(e, MOVE_DOWN)) {
    if (menu.line < LINES - 1) ++menu.line;
  } else if (is_direction(e, MOVE_LEFT) || is_direction(e, MOVE_RIGHT)) {
    const int by = is_direction(e, MOVE_LEFT) ? -1 : 1;
    if (menu.line < LINE_SPEED) {
      menu.column = by < 0 ? 0 : 1;
    } else if (menu.line != LINE_DEFAULTS) {
      change_value(menu, by, false);
    }
  }
  if (menu.settings != current_settings()) use_settings(menu.settings);
  return true;
}

namespace {

void draw_line(TTF_Font* font, const std::string& left, const std::string& right, int x, int width,
               int y, bool chosen, const GAME& game) {
  int w = 0, h = 0;
  text_size(font, left, &w, &h);
  if (chosen) {
    SDL_Rect band = {static_cast<Sint16>(x - 6), static_cast<Sint16>(y - 1),
                     static_cast<Uint16>(width + 12), static_cast<Uint16>(h + 2)};
    SDL_FillRect(screen, &band, SDL_MapRGB(screen->format, HIGHLIGHT.r, HIGHLIGHT.g, HIGHLIGHT.b));
  }
  const SDL_Color colour = chosen ? game.textcolor : game.textcolor2;
  draw_text(screen, font, left, colour, x, y);
  draw_text(screen, font, right, colour, x + width, y, ALIGN::RIGHT);
}

void draw_settings(const GAME& game, TTF_Font* small, const SETTINGS_MENU& menu) {
  apply_surface(0, 0, game.bg, screen);
  draw_text(screen, game.font, "Settings", game.textcolor2, 0, 10, ALIGN::CENTRE);
  for (int player = 0; player < PLAYERS; ++player) {
    const std::string header = "Player " + std::to_string(player + 1) + ": key / pad";
    draw_text(screen, small, header, game.textcolor2, COLUMN_LEFT[player], HEADER_Y);
    for (int move = 0; move < PLAYER_MOVES; ++move) {
      const ACTION action = player_action(player, static_cast<PLAYER_MOVE>(move));
      const bool chosen = menu.line == move && menu.column == player;
      const std::string key = chosen && menu.waiting ? "?" : shown_key(menu.settings.keys[action]);
      draw_line(small, control(action).label,
                key + " / " + shown_button(action, menu.settings.buttons[action]),
                COLUMN_LEFT[player], COLUMN_WIDTH, line_y(move), chosen, game);
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
    draw_line(small, v.name, std::to_string(v.value) + "%", COLUMN_LEFT[0], full, line_y(v.line),
              menu.line == v.line, game);
  }
  draw_line(small, "Defaults", "", COLUMN_LEFT[0], full, line_y(LINE_DEFAULTS),
            menu.line == LINE_DEFAULTS, game);
  draw_text(screen, small, menu.message, game.textcolor, 0, MESSAGE_Y, ALIGN::CENTRE);
  draw_text(screen, small, "Arrows ~ choose     Enter ~ change     Escape ~ back", game.textcolor2,
            0, HELP_Y, ALIGN::CENTRE);
}

// The changes hold for this run all the same; the player sees, before the
// screen goes, that they will be gone next time.
void said_not_saved(const GAME& game, TTF_Font* small, SETTINGS_MENU& menu) {
  menu.message = "These settings could not be saved for next time";
  draw_settings(game, small, menu);
  SDL_Flip(screen);
  wait_ms(NOT_SAVED_MS);
}

}  // namespace

void settings_screen(GAME& game) {
  TTF_Font* small = TTF_OpenFont("text.ttf", SMALL_POINTS);
  const SETTINGS before = current_settings();
  SETTINGS_MENU menu;
  TIMER timer;
  SDL_Event e;
  for (bool stay = true; stay;) {
    timer.start();
    pass_pad_buttons(menu.waiting);
    while (stay && poll_event(&e)) {
      stay = settings_menu_event(menu, e);
      pass_pad_buttons(menu.waiting);
    }
    draw_settings(game, small, menu);
    SDL_Flip(screen);
    pace_frame(timer);
  }
  pass_pad_buttons(false);
  if (current_settings() != before && !save_settings()) said_not_saved(game, small, menu);
  if (small != nullptr) TTF_CloseFont(small);
}
