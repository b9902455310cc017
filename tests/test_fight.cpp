// The whole sword fight as the play loop runs it: scripted keys on the
// virtual clock, the real assets, frames flipped to the dummy screen.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "mini_fixture.h"
#include "minigames/fight_class.h"

namespace {

class FightDriver : public MINI_GAME_TEST {
 protected:
  void SetUp() override {
    MINI_GAME_TEST::SetUp();
    harness::on_every_flip([this](int) { scores.push_back(score); });
  }

  void fight() { game.myfight->collect(score, screen); }

  void expect_fight_left_no_trace() {
    expect_main_game_untouched();
    EXPECT_EQ(harness::drain_queue(), 0) << "every event of the fight is used up by it";
  }

  int score = 5000;
  std::vector<int> scores;
};

}  // namespace

TEST_F(FightDriver, WithNoInputItEndsInFrame62AndHoldsTheLastFrameForASecond) {
  ASSERT_TRUE(game.myfight->is_on());
  const Uint32 began = harness::now();
  fight();
  EXPECT_EQ(harness::flips(), 62);
  ASSERT_EQ(flip_times.size(), 62u);
  EXPECT_EQ(flip_times[0], began);
  EXPECT_EQ(flip_times[1] - flip_times[0], 40u);
  EXPECT_EQ(harness::now() - flip_times.back(), 40u + 1000u);
  EXPECT_EQ(score, 5000);
  EXPECT_FALSE(game.myfight->is_on());
  expect_fight_left_no_trace();
}

TEST_F(FightDriver, EscapeOrClosingTheWindowEndsOnlyTheFight) {
  // Keys let go during the fight that were held in the main game, and keys
  // pressed in its last frame, must not reach the main game.
  harness::after_flip(1, [] {
    harness::tap_up(SDLK_LEFT);
    harness::tap_up(SDLK_a);
    harness::tap_down(SDLK_UP);
  });
  harness::after_flip(3, [] {
    harness::tap_down(SDLK_ESCAPE);
    harness::tap_down(SDLK_d);
    harness::tap_up(SDLK_UP);
  });
  fight();
  EXPECT_EQ(harness::flips(), 4) << "the frame of the Escape still runs and is shown";
  expect_fight_left_no_trace();

  // The program goes on: the marker comes back and the next fight runs,
  // this time left by closing the window.
  game.myfight->replace();
  EXPECT_TRUE(game.myfight->is_on());
  harness::after_flip(6, [] {
    harness::push(harness::window_close());
    harness::tap_up(SDLK_d);
  });
  fight();
  EXPECT_EQ(harness::flips(), 7);
  EXPECT_FALSE(game.myfight->is_on());
  expect_fight_left_no_trace();
}

TEST_F(FightDriver, StrokesAddAThousandAnEnemyAndTheScoreNeverFalls) {
  // Both pirates strike as the enemies from the left walk into them: three
  // enemies sent back, and the fight lasts until the right side arrives.
  harness::after_flip(60, [] {
    harness::press(SDLK_RCTRL);
    harness::press(SDLK_g);
  });
  // Strokes at nothing cost nothing.
  harness::after_flip(10, [] { harness::press(SDLK_g); });
  fight();
  EXPECT_EQ(score, 5000 + 3000);
  EXPECT_EQ(harness::flips(), 74);
  ASSERT_EQ(scores.size(), 74u);
  EXPECT_EQ(scores[59], 5000);
  EXPECT_EQ(scores[60], 8000) << "scored in the frame after the keys";
  for (size_t i = 1; i < scores.size(); ++i) EXPECT_GE(scores[i], scores[i - 1]) << i;
  expect_fight_left_no_trace();
}

TEST_F(FightDriver, AMidFightFrameShowsTheScore) {
  harness::capture_frames(true);
  SDL_Surface* frame = nullptr;
  // Pirate two walks right and down; pirate one strikes to the left.
  harness::after_flip(2, [] {
    harness::tap_down(SDLK_d);
    harness::tap_down(SDLK_s);
  });
  harness::after_flip(8, [] {
    harness::tap_up(SDLK_d);
    harness::tap_up(SDLK_s);
  });
  harness::after_flip(29, [] { harness::press(SDLK_RCTRL); });
  harness::after_flip(30, [&] {
    frame = harness::last_frame();
    harness::press(SDLK_ESCAPE);
  });
  fight();
  ASSERT_NE(frame, nullptr);
  // Kept in the build directory, beside the game, for a person to look at.
  harness::save_png(frame, std::string(GAME_DIR) + "/../fight_frame.png");
  // The score is written in solid brown at the top left.
  int brown = 0;
  for (int y = 5; y < 80; ++y) {
    for (int x = 0; x < 320; ++x) {
      Uint8 r, g, b;
      harness::pixel_rgb(frame, x, y, &r, &g, &b);
      if (r == 100 && g == 50 && b == 10) ++brown;
    }
  }
  EXPECT_GT(brown, 100);
  SDL_FreeSurface(frame);
}

TEST_F(FightDriver, DrawingOnlyTheWaterThatShowsChangesNoPixel) {
  FIGHT_ASSETS assets;
  assets.load();
  ASSERT_LT(assets.water_rows, 480) << "the deck hides the water below the rail";
  ASSERT_GT(assets.water_rows, 0);
  fight::FIGHT_STATE state;
  fight::start(state);
  int points = 0;
  for (int i = 0; i < 37; ++i) fight::step(state, points);
  fight::draw(state, assets, screen, points);
  SDL_Surface* clipped = SDL_ConvertSurface(screen, screen->format, SDL_SWSURFACE);
  assets.water_rows = 480;
  fight::draw(state, assets, screen, points);
  EXPECT_EQ(harness::differing_pixels(clipped, screen, 2), 0);
  SDL_FreeSurface(clipped);
  assets.free();
}
