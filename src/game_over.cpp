#include "game_over.h"

#include <string>

#include "controls.h"
#include "globals.h"
#include "image.h"
#include "look.h"
#include "overlays.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "platform/records_location.h"
#include "replay_watch.h"
#include "settings.h"
#include "text.h"

namespace {

// A slowed-down game leaves the record file alone, and says so.
// fit: TEXT 620
const char* const ASSISTED_TEXT = N_("Slowed down: records left as they were");

// Where a note about the records goes (a slowed-down game, or a record that
// could not be saved): below "Aaargh, try again!" and above the keys.
const int NOTE_Y = 350;

void read_keys(GAME& game) {
  while (poll_event(&event)) {
    if (pressed(event, MENU_QUIT)) {
      quit = true;
      restart = false;
    }
    if (pressed(event, MENU_NEXT)) quit = true;
    if (pressed(event, WATCH_GAME)) watch_last_game(game);
  }
}

}  // namespace

void game_over_screen(GAME& game, bool record_saved) {
  // The file holds what the update just wrote (or, if that failed, the old
  // records); it does not change while this screen is up.
  const RECORDS records = read_records(records_path());
  const SDL_Color colour = textcolor2;
  TIMER timer;
  while (!quit) {
    timer.start();
    read_keys(game);
    apply_surface(0, 0, game.bg, screen);
    // fit: TITLE 620
    draw_text(screen, font(), tr("Your score:"), colour, 0, 15, ALIGN::CENTRE);
    draw_text(screen, font(), std::to_string(game.score), colour, 0, 115, ALIGN::CENTRE);
    // fit: TEXT 620
    draw_text(screen, font2(), tr("Aaargh, try again!"), colour, 0, 300, ALIGN::CENTRE);
    // fit: TEXT 270
    // The best score of one player; the two-player record stands beside it.
    draw_text(screen, font2(), tr("Solo Record:"), colour, 45, 220);
    draw_text(screen, font2(), std::to_string(records.solo), colour, 45, 250);
    // fit: TEXT 270
    // The best score of two players.
    draw_text(screen, font2(), tr("Multi Record:"), colour, 595, 220, ALIGN::RIGHT);
    draw_text(screen, font2(), std::to_string(records.multi), colour, 595, 250, ALIGN::RIGHT);
    if (assisted()) {
      draw_text(screen, font2(), tr(ASSISTED_TEXT), colour, 0, NOTE_Y, ALIGN::CENTRE);
    } else if (!record_saved) {
      // fit: TEXT 620
      draw_text(screen, font2(), tr("The record could not be saved."), colour, 0, NOTE_Y,
                ALIGN::CENTRE);
    }
    // fit: TEXT 620
    // "~" stands between the key and what it does.
    draw_text(screen, font2(), tr("Enter ~ Restart!      Escape ~ Quit!"), colour, 0, KEYS_Y,
              ALIGN::CENTRE);
    show_frame(screen);
    pace_frame(timer);
  }
}
