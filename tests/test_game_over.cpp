// The game-over screen: which keys leave it, and what it shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "game_over.h"
#include "play_fixture.h"

class GAME_OVER : public PLAY_TEST {};

TEST_F(GAME_OVER, EnterDuringTheEndBannerIsReadByTheFirstPass) {
  begin(false);
  no_ghost_pickups();
  game.lives1 = 0;
  // The banner holds the game for five seconds; Enter arrives in the middle.
  harness::at_time(harness::now() + 2500, [] { harness::press(SDLK_RETURN); });
  while (!quit) {
    stand_in_path(*game.myPirate);
    play_frame(game);
  }
  ASSERT_TRUE(game.myPirate->is_dead());
  quit = false;
  update_records(game.score, game.multi);
  const int flips = harness::flips();
  game_over_screen(game);
  EXPECT_EQ(harness::flips(), flips + 1);
  EXPECT_TRUE(restart);
}

TEST_F(GAME_OVER, EscapeWinsWhicheverOrderTheKeysCameIn) {
  for (bool escape_first : {true, false}) {
    quit = false;
    restart = true;
    harness::press(escape_first ? SDLK_ESCAPE : SDLK_RETURN);
    harness::press(escape_first ? SDLK_RETURN : SDLK_ESCAPE);
    game_over_screen(game);
    EXPECT_TRUE(quit);
    EXPECT_FALSE(restart) << (escape_first ? "Escape first" : "Enter first");
  }
}

TEST_F(GAME_OVER, ClosingTheWindowDoesNothingHere) {
  harness::push(harness::window_close());
  harness::after_flip(3, [] { harness::press(SDLK_RETURN); });
  game_over_screen(game);
  EXPECT_EQ(harness::flips(), 4) << "the pass that reads Enter still draws its frame";
  EXPECT_TRUE(restart);
}

TEST_F(GAME_OVER, TheRecordsShownAreThoseInTheFile) {
  std::ofstream("records.dat") << "18250 42750";
  game.score = 162;
  harness::capture_frames(true);
  harness::after_flip(1, [] { harness::press(SDLK_RETURN); });
  game_over_screen(game);
  SDL_Surface* frame = harness::last_frame();
  harness::save_png(frame, harness::frame_file("game_over_records.png"));
  // The multi record is right-aligned: its last inked column is just left of x = 595.
  int rightmost = 0;
  for (int y = 255; y < 290; ++y) {
    for (int x = 400; x < 640; ++x) {
      Uint8 r, g, b;
      harness::pixel_rgb(frame, x, y, &r, &g, &b);
      if (r == 100 && g == 50 && b == 10) rightmost = std::max(rightmost, x);
    }
  }
  EXPECT_GE(rightmost, 585);
  EXPECT_LT(rightmost, 595);
  // The solo record on the left, the two-player record on the right, the
  // score in the large font.
  EXPECT_EQ(ink_missing(frame,
                        [&](SDL_Surface* s) {
                          put_text(s, game.font2, "18250", game.textcolor2, 45, 250);
                          put_text(s, game.font2, "42750", game.textcolor2,
                                   595 - text_width(game.font2, "42750"), 250);
                          put_text(s, game.font, "162", game.textcolor2,
                                   centred_x(game.font, "162"), 115);
                        }),
            0);
  SDL_FreeSurface(frame);
}
