#include "play_loop.h"

#include <cstdlib>
#include <string>

#include "collision.h"
#include "globals.h"
#include "image.h"
#include "look.h"
#include "music.h"
#include "overlays.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "pause.h"
#include "platform/signals.h"
#include "random.h"
#include "settings.h"
#include "text.h"

namespace {

// The slowed-down game's mark, below the score and below the "Paused"
// panel, which would cover it.
const int ASSIST_MARK_GAP = 4;

// After a mini-game or a fight both pirates stand still, and keys held
// through it no longer count when released.
void stop_pirates(GAME& game) {
  game.myPirate->zero_vel();
  game.myPirate2->zero_vel();
  game.myPirate->not_moved();
  game.myPirate2->not_moved();
}

void read_events(GAME& game) {
  while (poll_event(&event)) {
    game.myPirate->handle_input(event);
    if (game.multi) game.myPirate2->handle_input(event);
    if (event.type == SDL_QUIT) quit = true;
    if (pressed(event, MENU_QUIT)) {
      quit = true;
      switch_music(game.music, "sfx\\end.wav");
    }
  }
}

// A map piece or the sword-fight marker touched by a living pirate runs its
// game. Both pirates are asked in turn without asking the portal again.
template <class PORTAL>
void check_portal(GAME& game, PORTAL& portal) {
  if (!portal.is_on()) return;
  if (!game.myPirate->is_dead() &&
      check_collision(game.myPirate->get_c_boxes(), portal.get_hitbox())) {
    portal.collect(game.score, screen);
    stop_pirates(game);
  }
  if (!game.myPirate2->is_dead() &&
      check_collision(game.myPirate2->get_c_boxes(), portal.get_hitbox())) {
    portal.collect(game.score, screen);
    stop_pirates(game);
  }
}

void draw_hearts(GAME& game, int left, int lives, int y) {
  for (int i = 0; i < 3; ++i) {
    SDL_Rect* clip = &game.heart_offset[i + 1 <= lives ? 0 : 1];
    apply_surface(left + 45 * i, y, game.heart_sheet, screen, clip);
  }
}

void draw_frame(GAME& game) {
  apply_surface(0, 0, game.bg, screen);
  // fit: TEXT 620
  // Over the number of points during the game.
  draw_text_middle(screen, font2(), tr("score"), textcolor, -20);
  const int h = draw_text_middle(screen, font2(), std::to_string(game.score), textcolor);
  if (assisted()) {
    const SDL_Rect panel = paused_panel(screen->w, screen->h, font2());
    // fit: TEXT 620
    // {1} is the game speed in per cent (50 to 90): the game runs slowed down.
    // xgettext:no-c-format
    const std::string speed = fill(tr("{1}% speed"), {std::to_string(current_settings().speed)});
    draw_text(screen, font2(), speed, textcolor, 0, panel.y + panel.h + ASSIST_MARK_GAP,
              ALIGN::CENTRE);
  }
  draw_hearts(game, 50, game.lives1, (480 - h) / 2);
  if (game.multi) draw_hearts(game, 455, game.lives2, (480 - h) / 2);
  game.myTreasure->show(screen);
  game.myGPIRATE->show(screen);
  game.myRuby->show(screen);
  game.myCoin->show(screen);
  if (game.multi) {
    game.myminis->show(screen);
    game.myfight->show(screen);
  }
  game.myPirate->show(screen);
  if (game.multi) game.myPirate2->show(screen);
  game.myCannonball->show(screen);
}

// Pick-ups, ghost time and the cannonball for one pirate.
template <class P>
void pirate_step(GAME& game, P& pirate, int& lives, int& ghost_counter, const char* death_text) {
  std::vector<SDL_Rect>& boxes = pirate.get_c_boxes();
  if (!game.myTreasure->is_collected() && check_collision(game.myTreasure->get_c_boxes(), boxes)) {
    game.myTreasure->collect();
  }
  if (check_collision(boxes, game.myCoin->get_c_boxes())) {
    game.myCoin->replace();
    game.score += COIN_POINTS;
  }
  if (!game.myRuby->is_collected() && check_collision(boxes, game.myRuby->get_c_boxes())) {
    game.score += RUBY_POINTS;
    game.myRuby->collect();
  }
  if (game.myRuby->is_collected() && game_rand() % 1000 + 1 <= 5) game.myRuby->replace();
  if (!game.myGPIRATE->is_collected() && check_collision(boxes, game.myGPIRATE->get_c_boxes())) {
    ghost_counter = 0;
    pirate.go_ghost();
    game.myGPIRATE->collect();
  }
  if (game.myGPIRATE->is_collected() && game_rand() % 2000 + 1 <= 2) game.myGPIRATE->replace();
  if (pirate.is_ghost()) {
    ++ghost_counter;
    if (ghost_counter >= GHOST_FRAMES) {
      pirate.not_ghost();
      ghost_counter = 0;
    }
  }
  if (!pirate.is_ghost() && game.myCannonball->hits(boxes)) {
    // A hit costs a heart and makes the pirate a ghost for a while; with no
    // heart left it kills him.
    if (lives > 0) {
      --lives;
      pirate.go_ghost();
    } else {
      pirate.die();
    }
    draw_text(screen, font2(), tr(death_text), textcolor2, 0, 50, ALIGN::CENTRE);
    show_frame(screen);
    wait_ms(1000);
  }
}

void end_game(GAME& game) {
  quit = true;
  switch_music(game.music, "sfx\\end.wav");
  // fit: TITLE 620
  // A pirate's cry at the end of the game.
  draw_text_middle(screen, font(), tr("Aaaaaaarrrrrrrgggh!"), textcolor2);
  show_frame(screen);
  wait_ms(5000);
}

}  // namespace

void play_frame(GAME& game) {
  game.fps.start();
  read_events(game);

  game.myPirate->move();
  if (game.multi) game.myPirate2->move();
  game.myCannonball->move();

  game.myTreasure->gather(game.myPirate->get_c_boxes(), game.score);
  if (game.multi) game.myTreasure->gather(game.myPirate2->get_c_boxes(), game.score);

  if (game.multi) {
    check_portal(game, *game.myminis);
    check_portal(game, *game.myfight);
  }

  draw_frame(game);

  // A frame on time scores a point.
  if (pace_frame(game.fps, game_frame_ms())) game.score += 1;

  // fit: TEXT 620
  // Pirate one was hit by a cannon ball.
  pirate_step(game, *game.myPirate, game.lives1, game.ghost_counter, N_("#1 Pirate died!"));
  if (game.myTreasure->is_collected() && game_rand() % 2000 + 1 <= 1) game.myTreasure->replace();
  if (game.multi) {
    if (game_rand() % 1000 <= 4) game.myminis->place();
    if (game_rand() % 1000 <= 4) game.myfight->replace();
    // fit: TEXT 620
    // Pirate two was hit by a cannon ball.
    pirate_step(game, *game.myPirate2, game.lives2, game.ghost_counter2, N_("#2 Pirate died!"));
  }

  if (game.myPirate->is_dead() || (game.multi && game.myPirate2->is_dead())) end_game(game);
  show_frame(screen);
}

void play_loop(GAME& game) {
  const PAUSABLE pausable(font2(), textcolor);
  while (!quit) play_frame(game);
}
