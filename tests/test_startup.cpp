// Start-up, the menus and the skeleton of a run, driven by scripted keys on
// the virtual clock.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "assets.h"
#include "game_fixture.h"
#include "platform/signals.h"
#include "platform/window_setup.h"
#include "screens.h"

namespace {

// Sets an environment variable (or unsets it: null) for one scope.
class ENV_OVERRIDE {
 public:
  ENV_OVERRIDE(const char* variable, const char* value) : name(variable) {
    const char* old = std::getenv(variable);
    had = old != nullptr;
    if (had) previous = old;
    if (value != nullptr) {
      setenv(variable, value, 1);
    } else {
      unsetenv(variable);
    }
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

// Removes the file from a GAME_DIR_COPY without touching the built game, to
// put something else there: a linked folder becomes a folder of links first.
void remove_in_copy(const std::string& path) {
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
}

// Gives the file new contents in a GAME_DIR_COPY.
void replace_in_copy(const std::string& path, const std::string& bytes) {
  remove_in_copy(path);
  std::ofstream(path, std::ios::binary) << bytes;
}

// Runs body in a child process, which ends inside it (by exec or exit), with
// the child's stderr caught in said. Returns the child's wait status, or -1
// if it was still running after 10 s (a hang: it is killed then).
int child_status(const std::function<void()>& body, std::string& said) {
  int err[2];
  if (pipe(err) != 0) return -1;
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    dup2(err[1], 2);
    close(err[0]);
    body();
    _exit(127);
  }
  close(err[1]);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > until) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      status = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  said.clear();
  char buffer[512];
  for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  close(err[0]);
  return status;
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

// A file the game could only wait on (a pipe with no writer) or that is no
// file at all is named without being opened; none of them blocks the check.
TEST_F(GAME_TEST, PipesDevicesFoldersAndDanglingLinksAreNamedNotOpened) {
  struct CASE {
    const char* path;
    const char* what;
    std::function<void(const char*)> make;
    const char* problem;
  };
  const CASE cases[] = {
      {"sprites/ball.bmp", "a pipe", [](const char* p) { mkfifo(p, 0644); }, "not a regular file"},
      {"sfx/game.wav", "a pipe", [](const char* p) { mkfifo(p, 0644); }, "not a regular file"},
      {"title.ttf", "a pipe", [](const char* p) { mkfifo(p, 0644); }, "not a regular file"},
      {"text.ttf", "a device",
       [](const char* p) { std::filesystem::create_symlink("/dev/zero", p); },
       "not a regular file"},
      {"sfx/coin.wav", "a folder", [](const char* p) { std::filesystem::create_directory(p); },
       "not a regular file"},
      {"minigames/cave.png", "a dangling link",
       [](const char* p) { std::filesystem::create_symlink("nowhere.png", p); }, "missing"},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " as " + c.what);
    remove_in_copy(c.path);
    c.make(c.path);
    const std::vector<BAD_FILE> bad = bad_game_files();
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(bad[0].problem, c.problem);
    EXPECT_EQ(bad[0].path, c.path);
    std::filesystem::remove(c.path);
    std::filesystem::create_symlink(std::string(GAME_DIR) + "/" + c.path, c.path);
  }
}

// The real program, as a player starts it, with a pipe for a picture.
TEST(StartUp, APipeForAGameFileEndsTheProgramWithStatusOneAtOnce) {
  harness::GAME_DIR_COPY dir;
  remove_in_copy("sprites/ball.bmp");
  ASSERT_EQ(mkfifo("sprites/ball.bmp", 0644), 0);
  const std::string program = std::string(GAME_DIR) + "/brinegrab";
  std::string said;
  const auto began = std::chrono::steady_clock::now();
  const int status =
      child_status([&] { execl(program.c_str(), "brinegrab", static_cast<char*>(nullptr)); }, said);
  const auto took = std::chrono::steady_clock::now() - began;
  ASSERT_NE(status, -1) << "still waiting on the pipe after 10 s: " << said;
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << said;
  EXPECT_NE(said.find(":\n  not a regular file: sprites/ball.bmp\n"), std::string::npos) << said;
  RecordProperty(
      "ms", static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

// A stop signal during start-up ends the program as the player quitting
// (status 0), before any window and without a word, whatever the files are;
// start-up itself returns, so a test with a stop left over fails instead.
TEST(StartUp, AStopSignalEndsStartUpAsQuitting) {
  harness::reset();
  harness::GAME_DIR_COPY dir;
  remove_in_copy("sprites/ball.bmp");
  ASSERT_EQ(mkfifo("sprites/ball.bmp", 0644), 0);
  std::string said;
  const int status = child_status(
      [] {
        install_stop_signals();
        std::raise(SIGTERM);
        char name[] = "brinegrab";
        char* args[] = {name, nullptr};
        _exit(SDL_main(1, args) + 10);
      },
      said);
  ASSERT_NE(status, -1);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << said;
  EXPECT_EQ(said, "");
}

// One line of the game's own, naming the display that was asked for and
// could not be opened; the libraries' complaints (libwayland's without
// XDG_RUNTIME_DIR) stay off the terminal. No server answers on display 4093.
TEST(StartUp, NoDisplayIsReportedClearly) {
  struct CASE {
    const char* driver;   // SDL_VIDEODRIVER (null: unset, SDL picks)
    const char* display;  // DISPLAY (null: unset)
    const char* wayland;  // WAYLAND_DISPLAY (null: unset)
    const char* said;     // the start of the one line
  };
  // The drivers that fail come last: after a failed start SDL 1.2 no longer
  // names the driver it falls back to, and the next start seems to succeed
  // without one (then the video mode fails).
  const CASE cases[] = {
      {nullptr, nullptr, nullptr, "brinegrab: no display: set DISPLAY or WAYLAND_DISPLAY"},
      {nullptr, ":4093", nullptr, "brinegrab: cannot open the display ':4093' (DISPLAY); "},
      {nullptr, nullptr, "brinegrab-none-4093",
       "brinegrab: cannot open the display 'brinegrab-none-4093' (WAYLAND_DISPLAY); "},
      {nullptr, ":4093", "brinegrab-none-4093",
       "brinegrab: cannot open the display 'brinegrab-none-4093' (WAYLAND_DISPLAY) or ':4093' "
       "(DISPLAY); "},
      {nullptr, ":4093\x1b]0;x\a\n", nullptr,
       "brinegrab: cannot open the display ':4093\\x1b]0;x\\x07\\n' (DISPLAY); "},
      {"x11", ":4093", nullptr, "brinegrab: cannot open the display ':4093' (DISPLAY): "},
      {"nosuchdriver", nullptr, nullptr, "brinegrab: cannot "},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(std::string(c.driver ? c.driver : "-") + ", " + (c.display ? c.display : "-") +
                 ", " + (c.wayland ? c.wayland : "-"));
    harness::reset();
    harness::GAME_DIR_COPY dir;
    ENV_OVERRIDE video("SDL_VIDEODRIVER", c.driver);
    ENV_OVERRIDE x11("DISPLAY", c.display);
    ENV_OVERRIDE wayland("WAYLAND_DISPLAY", c.wayland);
    ENV_OVERRIDE runtime("XDG_RUNTIME_DIR", nullptr);
    GAME game;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(start_up(game));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind(c.said, 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << "one clear line: " << said;
  }
}

TEST(StartUp, AMissingOrBrokenWindowIconDoesNotStopTheGame) {
  struct CASE {
    const char* icon;  // "" for none
    bool pipe;         // a pipe, which the game must not wait on, instead
    const char* said;
  };
  const CASE cases[] = {
      {"", false, ""},
      {"not a picture", false, ""},
      {"", true, "brinegrab: icon.png is not a regular file: the window keeps the default icon\n"},
  };
  for (const CASE& c : cases) {
    harness::reset();
    reset_game_globals();
    harness::GAME_DIR_COPY dir;
    std::filesystem::remove("icon.png");
    if (*c.icon != '\0') std::ofstream("icon.png") << c.icon;
    if (c.pipe) {
      ASSERT_EQ(mkfifo("icon.png", 0644), 0);
    }
    GAME game;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(start_up(game)) << "icon.png: '" << c.icon << "', pipe: " << c.pipe;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said);
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

// Without a sound device the game says so in one line of its own; the
// sound library's complaints stay off the terminal (ALSA names the device it
// cannot find).
TEST(StartUp, NoAudioDeviceRunsSilent) {
  struct CASE {
    const char* driver;  // SDL_AUDIODRIVER
    const char* device;  // AUDIODEV, the device SDL's ALSA driver opens
  };
  const CASE cases[] = {{"nosuchdriver", nullptr}, {"alsa", "brinegrab-no-such-device"}};
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.driver);
    harness::reset();
    reset_game_globals();
    harness::GAME_DIR_COPY dir;
    ENV_OVERRIDE audio("SDL_AUDIODRIVER", c.driver);
    ENV_OVERRIDE device("AUDIODEV", c.device);
    GAME game;
    testing::internal::CaptureStderr();
    const bool started = start_up(game);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "brinegrab: no sound device: playing silent\n");
    ASSERT_TRUE(started);
    EXPECT_NE(screen, nullptr);
    EXPECT_EQ(game.music, nullptr);
    harness::at_time(SPLASH_MS + 1, [] { harness::press(SDLK_ESCAPE); });
    run(game);
    EXPECT_GE(harness::flips(), 4);
    shut_down(game);
  }
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
  EXPECT_NE(said.find("'" + dir.path() + "':\n  corrupt: sprites/ball.bmp\n"), std::string::npos)
      << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3) << "that file only: " << said;
}

// --no-splash (the browser's "Play again") opens on the title at once; the
// game without it keeps its three five-second pictures.
TEST(StartUp, TheSplashIsLeftOutOnlyWhenAskedFor) {
  struct CASE {
    std::vector<std::string> args;
    int flips_in_five_seconds;  // one picture, or the title's 25 frames a second
  };
  const CASE cases[] = {
      {{"brinegrab", "--no-splash", "--windowed"}, 5000 / 40},
      {{"brinegrab", "--windowed", "--no-splash"}, 5000 / 40},
      {{"brinegrab", "--windowed"}, 1},
  };
  for (const CASE& c : cases) {
    harness::reset();
    reset_game_globals();
    const harness::GAME_DIR_COPY dir;
    int early = 0;
    harness::on_every_flip([&](int) { early += harness::now() < 5000; });
    harness::at_time(SPLASH_MS + 1000, [] { harness::press(SDLK_ESCAPE); });
    std::vector<std::string> args = c.args;
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    EXPECT_EQ(SDL_main(static_cast<int>(args.size()), argv.data()), 0);
    EXPECT_NEAR(early, c.flips_in_five_seconds, 1) << c.args[1];
  }
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
                          put_text(s, font2(), "Game by:", textcolor2,
                                   centred_x(font2(), "Game by:"), 120);
                        }),
            0);
  const std::string hint = "~The cannon balls are getting faster";
  EXPECT_EQ(ink_missing(hints,
                        [&](SDL_Surface* s) {
                          put_text(s, font2(), hint, textcolor2, centred_x(font2(), hint), 200);
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
                            put_text(s, font2(), shown, textcolor2, centred_x(font2(), shown), 270);
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
