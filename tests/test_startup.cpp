// Start-up, the menus and the skeleton of a run, driven by scripted keys on
// the virtual clock.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// Little-endian fields of a file header.
std::string le32(size_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}
std::string le16(size_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

// Gives the file new contents in a GAME_DIR_COPY without touching the built
// game: a linked folder becomes a folder of links first.
void replace_in_copy(const std::string& path, const std::string& bytes) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty() && fs::is_symlink(folder)) {
    fs::remove(folder);
    fs::create_directory(folder);
    for (const auto& entry : fs::directory_iterator(fs::path(GAME_DIR) / folder)) {
      fs::create_symlink(entry.path(), folder / entry.path().filename());
    }
  }
  fs::remove(path);
  std::ofstream(path, std::ios::binary) << bytes;
}

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
  EXPECT_NE(said.find("  missing: title.ttf\n"), std::string::npos) << said;
  EXPECT_NE(said.find("  missing: sfx/cannon.wav\n"), std::string::npos) << said;
  EXPECT_NE(said.find(dir.path()), std::string::npos) << "names the directory searched: " << said;
  EXPECT_EQ(said.find("sprites/bg.jpg"), std::string::npos) << "present files are not listed";
  EXPECT_EQ(game.myPirate, nullptr);
}

TEST_F(GAME_TEST, EveryGameFileIsInTheBuiltGameDirectoryAndDecodes) {
  EXPECT_TRUE(bad_game_files().empty());
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

// Each kind of file the game loads (an image, a sound effect, music, a
// font) made empty, cut short or replaced by other bytes is found corrupt,
// with the libraries started as start_up starts them.
TEST_F(GAME_TEST, EmptyCutShortOrForeignFilesAreCorrupt) {
  struct FILE_CASE {
    const char* path;
    size_t cut_to;  // bytes left when cut short; 0 for half the file
  };
  // Cut where the game's own loader gives up: a sound before its samples,
  // an image or a font halfway.
  const FILE_CASE files[] = {
      {"sprites/ball.bmp", 0}, {"sfx/cannon.wav", 36}, {"sfx/game.wav", 36}, {"text.ttf", 0}};
  for (const FILE_CASE& file : files) {
    std::ifstream in(std::string(GAME_DIR) + "/" + file.path, std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(good.size(), file.cut_to);
    const std::string cut = good.substr(0, file.cut_to > 0 ? file.cut_to : good.size() / 2);
    for (const std::string& bytes : {std::string(), cut, std::string(4000, 'x')}) {
      SCOPED_TRACE(std::string(file.path) + " of " + std::to_string(bytes.size()) + " bytes");
      replace_in_copy(file.path, bytes);
      const std::vector<BAD_FILE> bad = bad_game_files();
      ASSERT_EQ(bad.size(), 1u);
      EXPECT_EQ(bad[0].problem, "corrupt");
      EXPECT_EQ(bad[0].path, file.path);
    }
    replace_in_copy(file.path, good);
  }
  // Music in a WAV that SDL's own reader takes but the mixer's music player
  // does not play: A-law samples.
  const std::string samples(2205, '\x55');
  const std::string wav = "RIFF" + le32(4 + 26 + 8 + samples.size()) + "WAVEfmt " + le32(18) +
                          le16(6) + le16(1) + le32(22050) + le32(22050) + le16(1) + le16(8) +
                          le16(0) + "data" + le32(samples.size()) + samples;
  replace_in_copy("sfx/open.wav", wav);
  const std::vector<BAD_FILE> bad = bad_game_files();
  ASSERT_EQ(bad.size(), 1u);
  EXPECT_EQ(bad[0].problem, "corrupt");
  EXPECT_EQ(bad[0].path, "sfx/open.wav");
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
  char name[] = "brinegrab";
  char* args[] = {name, nullptr};
  {
    harness::reset();
    harness::GAME_DIR_COPY dir;
    std::filesystem::remove(dir.path() + "/sprites");
    testing::internal::CaptureStderr();
    EXPECT_EQ(SDL_main(1, args), 1);
    testing::internal::GetCapturedStderr();
  }
  // A file that is there but does not decode (an empty ball would be an
  // invisible one that still hits) is named the way a missing one is.
  harness::reset();
  harness::GAME_DIR_COPY dir;
  replace_in_copy("sprites/ball.bmp", "");
  testing::internal::CaptureStderr();
  EXPECT_EQ(SDL_main(1, args), 1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(dir.path() + ":\n  corrupt: sprites/ball.bmp\n"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3) << "that file only: " << said;
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
  harness::capture_frames(true);
  SDL_Surface* title = nullptr;
  SDL_Surface* hints = nullptr;
  harness::at_time(1000, [] { harness::press(SDLK_RETURN); });
  harness::after_flip(4, [&] { title = harness::last_frame(); });
  harness::after_flip(5, [&] {
    hints = harness::last_frame();
    harness::press(SDLK_ESCAPE);
  });
  run(game);
  EXPECT_EQ(harness::flips(), 5);
  ASSERT_NE(title, nullptr);
  ASSERT_NE(hints, nullptr);
  // Each screen's own lines, centred: the title first, then the first of
  // the two hint screens.
  EXPECT_EQ(ink_missing(title,
                        [&](SDL_Surface* s) {
                          put_text(s, game.font2, "Game by:", game.textcolor2,
                                   centred_x(game.font2, "Game by:"), 120);
                        }),
            0);
  const std::string hint = "~The cannon balls are getting faster";
  EXPECT_EQ(ink_missing(hints,
                        [&](SDL_Surface* s) {
                          put_text(s, game.font2, hint, game.textcolor2,
                                   centred_x(game.font2, hint), 200);
                        }),
            0);
  SDL_FreeSurface(title);
  SDL_FreeSurface(hints);
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
  for (SDL_Surface* frame : {no_frame, yes_frame}) {
    const char* shown = frame == no_frame ? "~NO" : "~YES";
    SCOPED_TRACE(shown);
    EXPECT_EQ(ink_missing(frame,
                          [&](SDL_Surface* s) {
                            put_text(s, game.font2, shown, game.textcolor2,
                                     centred_x(game.font2, shown), 270);
                          }),
              0);
  }
  SDL_FreeSurface(no_frame);
  SDL_FreeSurface(yes_frame);
}

// A game file the player may not read is named as such, not as missing;
// checked as a player, since root reads every file.
TEST(StartUp, AFileThePlayerMayNotReadIsNamedUnreadable) {
  harness::reset();
  harness::GAME_DIR_COPY dir;
  replace_in_copy("sprites/ball.bmp", "BM");
  chmod("sprites/ball.bmp", 0);
  std::filesystem::permissions(".", std::filesystem::perms::all);
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t child = fork();
  if (child == 0) {
    close(out[0]);
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    TTF_Init();
    std::string said;
    for (const BAD_FILE& bad : bad_game_files()) said += bad.problem + ": " + bad.path + "\n";
    _exit(write(out[1], said.data(), said.size()) == static_cast<ssize_t>(said.size()) ? 0 : 3);
  }
  close(out[1]);
  std::string said;
  char buffer[256];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(said, "unreadable: sprites/ball.bmp\n");
}
