#include "game_over.h"

#include <string>

#include "globals.h"
#include "image.h"
#include "platform/events.h"
#include "platform/records_location.h"
#include "replay_session.h"
#include "text.h"

namespace {

void read_keys(GAME& game) {
  while (poll_event(&event)) {
    if (event.type != SDL_KEYDOWN) continue;
    if (event.key.keysym.sym == SDLK_ESCAPE) {
      quit = true;
      restart = false;
    }
    if (event.key.keysym.sym == SDLK_RETURN) quit = true;
    if (event.key.keysym.sym == SDLK_r) watch_last_game(game);
  }
}

}  // namespace

void game_over_screen(GAME& game) {
  // The file holds what the update just wrote (or, if that failed, the old
  // records); it does not change while this screen is up.
  const RECORDS records = read_records(records_path());
  const SDL_Color colour = game.textcolor2;
  TIMER timer;
  while (!quit) {
    timer.start();
    read_keys(game);
    apply_surface(0, 0, game.bg, screen);
    draw_text(screen, game.font, "Your score:", colour, 0, 15, ALIGN::CENTRE);
    draw_text(screen, game.font, std::to_string(game.score), colour, 0, 115, ALIGN::CENTRE);
    draw_text(screen, game.font2, "Aaargh, try again!", colour, 0, 300, ALIGN::CENTRE);
    draw_text(screen, game.font2, "Solo Record:", colour, 45, 220);
    draw_text(screen, game.font2, std::to_string(records.solo), colour, 45, 250);
    draw_text(screen, game.font2, "Multi Record:", colour, 595, 220, ALIGN::RIGHT);
    draw_text(screen, game.font2, std::to_string(records.multi), colour, 595, 250, ALIGN::RIGHT);
    draw_text(screen, game.font2, "Enter ~ Restart!      Escape ~ Quit!", colour, 0, 400,
              ALIGN::CENTRE);
    SDL_Flip(screen);
    pace_frame(timer);
  }
}
