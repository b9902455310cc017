#include "screens.h"

#include <string>
#include <vector>

#include "constants.h"
#include "controls.h"
#include "globals.h"
#include "image.h"
#include "key_line.h"
#include "languages.h"
#include "look.h"
#include "overlays.h"
#include "page_texts.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "platform/page.h"
#include "platform/signals.h"
#include "settings_screen.h"
#include "text.h"

namespace {

struct LINE {
  int y;
  std::string text;  // English, translated where drawn (the players' keys are drawn as built)
  bool title;        // in the large font
};

// The game's name and its web address stay as they are in every language.
// A "~" starts a point of a list or stands between a key and what it does.
const std::vector<LINE> TITLE_SCREEN = {
    {TITLE_Y, "Brinegrab", true},
    // fit: TEXT 620
    {120, N_("Game by:"), false},
    // fit: TEXT 620
    {170, N_("the Brinegrab crew at VX Games"), false},
    {205, "www.vxgames.example/brinegrab", false},
    // fit: TEXT 620
    // The first half of a sentence; the line below ends it.
    {250, N_("Your goal is to earn more and more"), false},
    // fit: TEXT 620
    // The second half of the sentence above.
    {300, N_("score by avoiding the cannon balls!"), false},
    // fit: TEXT 620
    // "~" stands between what the key does and the key.
    {KEYS_Y, N_("Next ~ Enter"), false},
};

const std::vector<LINE> HINT_SCREEN_ONE = {
    {TITLE_Y, "Brinegrab", true},
    // fit: TEXT 620
    {120, N_("Hints:"), false},
    // fit: TEXT 620
    // A point of the list ("~"), whose sentence the next line ends.
    {200, N_("~The cannon balls are getting faster"), false},
    // fit: TEXT 620
    // The end of the sentence above.
    {250, N_("and faster while you are playing!"), false},
    // fit: TEXT 620
    // A point of the list ("~"): a treasure chest is worth 500 points.
    {300, N_("~Collect the treasures for 500 scores!"), false},
    // fit: TEXT 620
    // "~" stands between what the key does and the key.
    {KEYS_Y, N_("Begin ~ Enter       Quit ~ Escape"), false},
};

const std::vector<LINE> HINT_SCREEN_TWO = {
    {TITLE_Y, "Brinegrab", true},
    // fit: TEXT 620
    {120, N_("Hints:"), false},
    // fit: TEXT 620
    // A point of the list ("~"): a ruby is worth 2500 points.
    {200, N_("~Collect the rubies for 2500 point!"), false},
    // fit: TEXT 620
    // A point of the list ("~"), whose sentence the next line ends.
    {250, N_("~Sometimes an old pirate's ghost appears,"), false},
    // fit: TEXT 620
    // The end of the sentence above: catching the ghost lets a pirate walk
    // through the cannon balls for a while.
    {300, N_("get him if you want to go across the cannon balls!"), false},
    // fit: TEXT 620
    // "~" stands between what the key does and the key.
    {KEYS_Y, N_("Next ~ Enter       Quit ~ Escape"), false},
};

void draw_lines(GAME& game, const std::vector<LINE>& lines) {
  apply_surface(0, 0, game.bg, screen);
  for (const LINE& line : lines) {
    // The title is the game's name, the same in every language and in its
    // own face, as a sign is.
    const std::string text = line.title ? line.text : tr(line.text.c_str());
    TTF_Font* own = line.title ? face_of_language(FACE::TITLE, "") : nullptr;
    TTF_Font* line_face = !line.title ? font2() : own != nullptr ? own : font();
    draw_text(screen, line_face, text, textcolor2, 0, line.y, ALIGN::CENTRE);
  }
}

// The players' keys in the screen's face while they fit its width; keys
// chosen with long names ("Page Up", "Right Shift") in the list's smaller
// face, on two lines if they must.
void draw_keys_line(int y) {
  const std::string keys = players_keys_line();
  const int room = WIDTH - 20;
  if (line_width(font2(), keys) <= room) {
    draw_text(screen, font2(), keys, textcolor2, 0, y, ALIGN::CENTRE);
  } else {
    draw_text_in_room(screen, face(FACE::LIST), keys, textcolor2, y, room);
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
      follow_language();
      tell_page_keys();
      continue;
    }
    page_players(game.multi);
    draw_lines(game, {
                         {TITLE_Y, "Brinegrab", true},
                         // fit: TEXT 620
                         {120, N_("MULTIPLAYER"), false},
                         // fit: TEXT 620
                         {170, N_("Press [space] to change the mode!"), false},
                         // fit: TEXT 620
                         {220, N_("Multiplayer:"), false},
                         // fit: TEXT 620
                         // Whether two play: "~" marks the answer.
                         {270, game.multi ? N_("~YES") : N_("~NO"), false},
                         // fit: TEXT 620
                         // "~" stands between what the key does and the key.
                         {KEYS_Y, N_("Begin ~ Enter           Escape ~ Quit"), false},
                     });
    draw_keys_line(330);
    show_frame(screen);
    pace_frame(timer);
  }
  return true;
}
