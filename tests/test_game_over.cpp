// The game-over screen: which keys leave it, and what it shows.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

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
                          put_text(s, font2(), "18250", textcolor2, 45, 250);
                          put_text(s, font2(), "42750", textcolor2,
                                   595 - text_width(font2(), "42750"), 250);
                          put_text(s, font(), "162", textcolor2, centred_x(font(), "162"), 115);
                        }),
            0);
  SDL_FreeSurface(frame);
}

namespace {

const char* const NOT_SAVED = "The record could not be saved.";

// How many ink pixels of the line saying the record was not saved (font2,
// centred on the screen's width, its top at y = 350) the frame lacks, out
// of how many. Rendered here with SDL_ttf itself.
std::pair<int, int> not_saved_line_missing(SDL_Surface* frame, TTF_Font* font, SDL_Color colour) {
  SDL_Surface* line = TTF_RenderText_Solid(font, NOT_SAVED, colour);
  if (line == nullptr) return {-1, -1};
  const int left = (640 - line->w) / 2;
  int ink = 0, missing = 0;
  for (int y = 0; y < line->h; ++y) {
    for (int x = 0; x < line->w; ++x) {
      if (static_cast<Uint8*>(line->pixels)[y * line->pitch + x] == 0) continue;
      ++ink;
      Uint8 r, g, b;
      harness::pixel_rgb(frame, left + x, 350 + y, &r, &g, &b);
      if (r != colour.r || g != colour.g || b != colour.b) ++missing;
    }
  }
  SDL_FreeSurface(line);
  return {missing, ink};
}

}  // namespace

TEST_F(GAME_OVER, ARecordNotSavedAddsOneLineBetweenTheTextsAndChangesNothingElse) {
  int w = 0, h = 0, try_again_w = 0, try_again_h = 0;
  ASSERT_EQ(TTF_SizeText(font2(), "Aaargh, try again!", &try_again_w, &try_again_h), 0);
  ASSERT_EQ(TTF_SizeText(font2(), NOT_SAVED, &w, &h), 0);
  EXPECT_LE(300 + try_again_h, 350) << "clear of the text above";
  EXPECT_LE(350 + h, 400) << "clear of the keys below";
  std::ofstream("records.dat") << "300 400";
  game.score = 162;
  harness::capture_frames(true);
  SDL_Surface* frames[2] = {};
  for (bool saved : {true, false}) {
    quit = false;
    harness::after_flip(harness::flips() + 1, [] { harness::press(SDLK_RETURN); });
    game_over_screen(game, saved);
    frames[saved ? 0 : 1] = harness::last_frame();
  }
  harness::save_png(frames[1], harness::frame_file("game_over_not_saved.png"));
  const auto [missing, ink] = not_saved_line_missing(frames[1], font2(), textcolor2);
  EXPECT_GT(ink, 0);
  EXPECT_EQ(missing, 0) << "the line is where it belongs";
  EXPECT_EQ(not_saved_line_missing(frames[0], font2(), textcolor2).first, ink)
      << "a saved record shows no line";
  int outside = 0, inside = 0;
  const int left = (640 - w) / 2;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      Uint8 r0, g0, b0, r1, g1, b1;
      harness::pixel_rgb(frames[0], x, y, &r0, &g0, &b0);
      harness::pixel_rgb(frames[1], x, y, &r1, &g1, &b1);
      if (r0 == r1 && g0 == g1 && b0 == b1) continue;
      const bool in_line = x >= left && x < left + w && y >= 350 && y < 350 + h;
      ++(in_line ? inside : outside);
    }
  }
  EXPECT_EQ(outside, 0) << "the rest of the screen is as before";
  EXPECT_GT(inside, 0);
  for (SDL_Surface* frame : frames) SDL_FreeSurface(frame);
}

TEST_F(GAME_OVER, AGameWhoseSaveFailsSaysSoOnTheGameOverScreen) {
  std::ofstream("records.dat") << "300 400";
  harness::reset();
  harness::capture_frames(true);
  for (int flip = 4; flip <= 7; ++flip) harness::press_after_flip(flip, SDLK_RETURN);
  harness::on_every_flip([](int flip) {
    if (flip > 17) harness::press(SDLK_ESCAPE);
  });
  harness::as_on_a_full_disk([&] { run(game); });
  EXPECT_EQ(harness::file_text("records.dat"), "300 400");
  SDL_Surface* frame = harness::last_frame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(not_saved_line_missing(frame, font2(), textcolor2).first, 0);
  SDL_FreeSurface(frame);
}
