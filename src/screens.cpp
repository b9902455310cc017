#include "screens.h"

#include <string>
#include <vector>

#include "constants.h"
#include "controls.h"
#include "globals.h"
#include "image.h"
#include "key_line.h"
#include "look.h"
#include "overlays.h"
#include "page_texts.h"
#include "platform/events.h"
#include "platform/page.h"
#include "platform/signals.h"
#include "settings_screen.h"
#include "text.h"

namespace {

struct LINE {
  int y;
  std::string text;
  bool title;  // in the large font
};

const std::vector<LINE> TITLE_SCREEN = {
    {TITLE_Y, "Brinegrab", true},
    {120, "Game by:", false},
    {170, "the Brinegrab crew at VX Games", false},
    {205, "www.vxgames.example/brinegrab", false},
    {250, "Your goal is to earn more and more", false},
    {300, "score by avoiding the cannon balls!", false},
    {KEYS_Y, "Next ~ Enter", false},
};

const std::vector<LINE> HINT_SCREEN_ONE = {
    {TITLE_Y, "Brinegrab", true},
    {120, "Hints:", false},
    {200, "~The cannon balls are getting faster", false},
    {250, "and faster while you are playing!", false},
    {300, "~Collect the treasures for 500 scores!", false},
    {KEYS_Y, "Begin ~ Enter       Quit ~ Escape", false},
};

const std::vector<LINE> HINT_SCREEN_TWO = {
    {TITLE_Y, "Brinegrab", true},
    {120, "Hints:", false},
    {200, "~Collect the rubies for 2500 point!", false},
    {250, "~Sometimes an old pirate's ghost appears,", false},
    {300, "get him if you want to go across the cannon balls!", false},
    {KEYS_Y, "Next ~ Enter       Quit ~ Escape", false},
};

void draw_lines(GAME& game, const std::vector<LINE>& lines) {
  apply_surface(0, 0, game.bg, screen);
  for (const LINE& line : lines) {
    draw_text(screen, line.title ? game.font : game.font2, line.text, game.textcolor2, 0, line.y,
              ALIGN::CENTRE);
  }
}

// Reads every waiting event: Enter sets start, Space calls on_space, C
// calls on_settings. Returns false when Escape was pressed. Everything else,
// the window's close button included, is ignored.
template <class ON_SPACE, class ON_SETTINGS>
bool read_keys(ON_SPACE on_space, ON_SETTINGS on_settings) {
  bool stay = true;
  while (poll_event(&event)) {
    if (pressed(event, MENU_NEXT)) start = true;
    if (pressed(event, MENU_QUIT)) stay = false;
    if (pressed(event, MENU_PLAYERS)) on_space();
    if (pressed(event, MENU_SETTINGS)) on_settings();
  }
  return stay;
}

// One screen of text until Enter (true) or Escape (false). Each pass waits
// out the rest of its frame rather than spinning.
bool text_screen(GAME& game, const std::vector<LINE>& lines) {
  start = false;
  TIMER timer;
  while (!start) {
    timer.start();
    if (!read_keys([] {}, [] {})) return false;
    draw_lines(game, lines);
    show_frame(screen);
    pace_frame(timer);
  }
  return true;
}

void show_logo(GAME& game, const char* file, Uint8 r, Uint8 g, Uint8 b) {
  game.logo = load_image(file);
  SDL_FillRect(screen, &screen->clip_rect, SDL_MapRGB(screen->format, r, g, b));
  if (game.logo != nullptr) {
    apply_surface((WIDTH - game.logo->w) / 2, (HEIGHT - game.logo->h) / 2, game.logo, screen);
  }
  show_frame(screen);
  wait_ms(5000);
  SDL_FreeSurface(game.logo);
  game.logo = nullptr;
}

bool splash_on = true;

}  // namespace

void use_splash(bool on) { splash_on = on; }

void splash(GAME& game) {
  if (!splash_on) return;
  show_logo(game, "VX_pics\\vx_logo.gif", 0, 0, 0);
  show_logo(game, "VX_pics\\comp_logo.png", 255, 255, 255);
  show_logo(game, "sprites\\main_pic.png", 255, 255, 255);
}

bool title_screens(GAME& game) {
  return text_screen(game, TITLE_SCREEN) && text_screen(game, HINT_SCREEN_ONE) &&
         text_screen(game, HINT_SCREEN_TWO);
}

bool mode_screen(GAME& game) {
  start = false;
  TIMER timer;
  while (!start) {
    timer.start();
    bool settings = false;
    if (!read_keys([&game] { game.multi = !game.multi; }, [&settings] { settings = true; })) {
      return false;
    }
    if (settings && !start) {
      settings_screen(game);
      tell_page_keys();
      continue;
    }
    page_players(game.multi);
    draw_lines(game, {
                         {TITLE_Y, "Brinegrab", true},
                         {120, "MULTIPLAYER", false},
                         {170, "Press [space] to change the mode!", false},
                         {220, "Multiplayer:", false},
                         {270, game.multi ? "~YES" : "~NO", false},
                         {330, players_keys_line(), false},
                         {KEYS_Y, "Begin ~ Enter           Escape ~ Quit", false},
                     });
    show_frame(screen);
    pace_frame(timer);
  }
  return true;
}
