// Start-up, the menus and the skeleton of a run, driven by scripted keys on
// the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "assets.h"
#include "game_fixture.h"
#include "platform/window_setup.h"
#include "screens.h"

namespace {

// Sets an environment variable for one scope.
class ENV_OVERRIDE {
 public:
  ENV_OVERRIDE(const char* variable, const char* value) : name(variable) {
    const char* old = std::getenv(variable);
    had = old != nullptr;
    if (had) previous = old;
    setenv(variable, value, 1);
  }
  ~ENV_OVERRIDE() {
    if (had) {
      setenv(name, previous.c_str(), 1);
    } else {
      unsetenv(name);
    }
  }

 private:
  const char* name;
  bool had = false;
  std::string previous;
};

const Uint32 SPLASH_MS = 15000;

}  // namespace

TEST(StartUp, MissingFilesAreNamedAndTheGameDoesNotStart) {
  harness::reset();
  harness::GAME_DIR_COPY dir;
  std::filesystem::remove(dir.path() + "/sfx");
  std::filesystem::remove(dir.path() + "/title.ttf");
  GAME game;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(start_up(game));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("title.ttf"), std::string::npos) << said;
  EXPECT_NE(said.find("sfx/cannon.wav"), std::string::npos) << said;
  EXPECT_NE(said.find(dir.path()), std::string::npos) << "names the directory searched: " << said;
  EXPECT_EQ(said.find("sprites/bg.jpg"), std::string::npos) << "present files are not listed";
  EXPECT_EQ(game.myPirate, nullptr);
}

TEST(StartUp, EveryGameFileIsInTheBuiltGameDirectory) {
  harness::GAME_DIR_COPY dir;
  EXPECT_TRUE(missing_game_files().empty());
  EXPECT_GE(game_files().size(), 37u);
}

TEST(StartUp, AnUnreadableFontIsReportedNotCrashedOn) {
  harness::reset();
  harness::GAME_DIR_COPY dir;
  std::filesystem::remove("text.ttf");
  std::ofstream("text.ttf") << "not a font";
  GAME game;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(start_up(game));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("text.ttf"), std::string::npos) << said;
  EXPECT_EQ(game.myPirate, nullptr) << "everything made is cleaned up again";
  EXPECT_EQ(screen, nullptr);
}

TEST(StartUp, NoDisplayIsReportedClearly) {
  harness::reset();
  harness::GAME_DIR_COPY dir;
  ENV_OVERRIDE video("SDL_VIDEODRIVER", "nosuchdriver");
  GAME game;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(start_up(game));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("brinegrab: cannot"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << "one clear line: " << said;
}

TEST(StartUp, AMissingOrBrokenWindowIconDoesNotStopTheGame) {
  for (const char* icon : {"", "not a picture"}) {
    harness::reset();
    reset_game_globals();
    harness::GAME_DIR_COPY dir;
    std::filesystem::remove("icon.png");
    if (*icon != '\0') std::ofstream("icon.png") << icon;
    GAME game;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(start_up(game)) << "icon.png: '" << icon << "'";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    shut_down(game);
  }
}

TEST(StartUp, FullScreenUnlessAWindowWasAskedFor) {
  for (bool windowed : {false, true}) {
    harness::reset();
    reset_game_globals();
    harness::GAME_DIR_COPY dir;
    choose_windowed(windowed);
    GAME game;
    ASSERT_TRUE(start_up(game));
    EXPECT_EQ((screen->flags & SDL_FULLSCREEN) != 0, !windowed) << "windowed: " << windowed;
    EXPECT_EQ(screen->w, 640);
    shut_down(game);
  }
  choose_windowed(false);
}

TEST(StartUp, NoAudioDeviceRunsSilent) {
  harness::reset();
  reset_game_globals();
  harness::GAME_DIR_COPY dir;
  ENV_OVERRIDE audio("SDL_AUDIODRIVER", "nosuchdriver");
  GAME game;
  ASSERT_TRUE(start_up(game));
  EXPECT_NE(screen, nullptr);
  EXPECT_EQ(game.music, nullptr);
  harness::at_time(SPLASH_MS + 1, [] { harness::press(SDLK_ESCAPE); });
  run(game);
  EXPECT_GE(harness::flips(), 4);
  shut_down(game);
}

TEST(StartUp, PixelArtStaysCrispUnlessThePlayerChoseOtherwise) {
  for (const char* chosen : {static_cast<const char*>(nullptr), "linear"}) {
    harness::reset();
    reset_game_globals();
    harness::GAME_DIR_COPY dir;
    ENV_OVERRIDE scale("SDL12COMPAT_SCALE_METHOD", chosen == nullptr ? "" : chosen);
    if (chosen == nullptr) unsetenv("SDL12COMPAT_SCALE_METHOD");
    GAME game;
    ASSERT_TRUE(start_up(game));
    EXPECT_STREQ(std::getenv("SDL12COMPAT_SCALE_METHOD"), chosen == nullptr ? "nearest" : chosen);
    shut_down(game);
  }
}

TEST(StartUp, TheProgramExitsWithStatusOneWhenItCannotStart) {
  harness::reset();
  harness::GAME_DIR_COPY dir;
  std::filesystem::remove(dir.path() + "/sprites");
  testing::internal::CaptureStderr();
  char name[] = "brinegrab";
  char* args[] = {name, nullptr};
  EXPECT_EQ(SDL_main(1, args), 1);
  testing::internal::GetCapturedStderr();
}

class RUN : public GAME_TEST {};

TEST_F(RUN, SplashShowsThreePicturesForFiveSecondsEach) {
  std::vector<Uint32> flip_times;
  harness::on_every_flip([&](int) { flip_times.push_back(harness::now()); });
  harness::at_time(SPLASH_MS + 1, [] { harness::press(SDLK_ESCAPE); });
  run(game);
  ASSERT_GE(flip_times.size(), 4u);
  EXPECT_EQ(flip_times[0], 0u);
  EXPECT_EQ(flip_times[1], 5000u);
  EXPECT_EQ(flip_times[2], 10000u);
  EXPECT_EQ(flip_times[3], SPLASH_MS);
  EXPECT_EQ(game.logo, nullptr);
}

TEST_F(RUN, EscapeOnTheTitleEndsTheRunWithoutTouchingTheRecords) {
  harness::after_flip(5, [] { harness::press(SDLK_ESCAPE); });
  run(game);
  EXPECT_EQ(harness::flips(), 5) << "the title's third pass reads the Escape and draws nothing";
  EXPECT_FALSE(std::filesystem::exists("records.dat"));
}

TEST_F(RUN, EnterDuringTheSplashEndsOnlyTheTitleScreen) {
  // Splash: flips 1 to 3. Title: one pass (flip 4). Hint one: flip 5, then
  // Escape is read on its second pass.
  harness::at_time(1000, [] { harness::press(SDLK_RETURN); });
  harness::after_flip(5, [] { harness::press(SDLK_ESCAPE); });
  run(game);
  EXPECT_EQ(harness::flips(), 5);
}

TEST_F(RUN, WindowCloseIsIgnoredOnTheMenus) {
  harness::at_time(SPLASH_MS + 100, [] { harness::push(harness::window_close()); });
  harness::at_time(SPLASH_MS + 1000, [] { harness::press(SDLK_ESCAPE); });
  run(game);
  EXPECT_GE(harness::flips(), 3 + 20);
}

TEST_F(RUN, MenusWaitOutTheirFrameInsteadOfSpinning) {
  harness::at_time(SPLASH_MS + 4000, [] { harness::press(SDLK_ESCAPE); });
  run(game);
  // 100 passes of 40 ms in four seconds, give or take the last one.
  EXPECT_NEAR(harness::flips() - 3, 100, 2);
}

TEST_F(RUN, SpaceTogglesTwoPlayerModeAndTheChoiceIsShown) {
  harness::capture_frames(true);
  SDL_Surface* no_frame = nullptr;
  SDL_Surface* yes_frame = nullptr;
  // Title, hints: Enter on each. Flips 4, 5, 6 are their first passes.
  harness::press_after_flip(4, SDLK_RETURN);
  harness::press_after_flip(5, SDLK_RETURN);
  harness::press_after_flip(6, SDLK_RETURN);
  // Mode screen from flip 7 on.
  harness::after_flip(8, [&] {
    no_frame = harness::last_frame();
    harness::press(SDLK_SPACE);
    harness::press(SDLK_SPACE);  // twice in one pass: no change
  });
  harness::after_flip(9, [&] {
    EXPECT_FALSE(game.multi);
    harness::press(SDLK_SPACE);
  });
  harness::after_flip(10, [&] {
    yes_frame = harness::last_frame();
    EXPECT_TRUE(game.multi);
    harness::press(SDLK_ESCAPE);
  });
  run(game);
  ASSERT_NE(no_frame, nullptr);
  ASSERT_NE(yes_frame, nullptr);
  harness::save_png(no_frame, harness::frame_file("mode_no.png"));
  harness::save_png(yes_frame, harness::frame_file("mode_yes.png"));
  // Only the "~NO"/"~YES" line differs between the two pictures.
  int changed_inside = 0, changed_outside = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      Uint8 r1, g1, b1, r2, g2, b2;
      harness::pixel_rgb(no_frame, x, y, &r1, &g1, &b1);
      harness::pixel_rgb(yes_frame, x, y, &r2, &g2, &b2);
      const bool same = r1 == r2 && g1 == g2 && b1 == b2;
      if (same) continue;
      if (y >= 270 && y < 330) {
        ++changed_inside;
      } else {
        ++changed_outside;
      }
    }
  }
  EXPECT_GT(changed_inside, 50);
  EXPECT_EQ(changed_outside, 0);
  SDL_FreeSurface(no_frame);
  SDL_FreeSurface(yes_frame);
}
