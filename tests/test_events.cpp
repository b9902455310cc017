// The event layer: stop signals, the missing display, the closing second
// of the mini-games, the desktop keys and the pause.
#include <SDL_mixer.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "mini_fixture.h"
#include "minigames/fight_class.h"
#include "minigames/mini1.h"
#include "minigames/mini2.h"
#include "minigames/mini3.h"
#include "platform/events.h"
#include "pause.h"
#include "platform/signals.h"
#include "play_fixture.h"
#include "screens.h"
#include "sound_levels.h"
#include "text.h"

extern char** environ;

namespace {

using CLOCK = std::chrono::steady_clock;

using harness::file_text;

// ---- The real program, started as a player would.

struct CHILD {
  pid_t pid = -1;
  int err = -1;  // read end of its stderr
};

// Starts the built game in the working directory with the test's
// environment minus the variables named in unset.
CHILD start_game(const std::vector<std::string>& unset) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    bool dropped = false;
    for (const std::string& name : unset) dropped |= entry.rfind(name + "=", 0) == 0;
    if (!dropped) env.push_back(entry);
  }
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return {};
  const std::string program = std::string(GAME_DIR) + "/brinegrab";
  CHILD child;
  child.pid = fork();
  if (child.pid == 0) {
    dup2(pipe_fds[1], 2);
    close(pipe_fds[0]);
    char* argv[] = {const_cast<char*>("brinegrab"), nullptr};
    execve(program.c_str(), argv, envp.data());
    _exit(127);
  }
  close(pipe_fds[1]);
  child.err = pipe_fds[0];
  return child;
}

// Waits up to limit for the child to end; its wait status, or -1 (and the
// child killed) if it did not.
int wait_for(const CHILD& child, std::chrono::milliseconds limit) {
  const auto until = CLOCK::now() + limit;
  int status = 0;
  while (waitpid(child.pid, &status, WNOHANG) == 0) {
    if (CLOCK::now() > until) {
      kill(child.pid, SIGKILL);
      waitpid(child.pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return status;
}

std::string read_all(int fd) {
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  close(fd);
  return text;
}

// The game catches SIGHUP only once its own handlers are in place.
bool handlers_installed(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) & 1) != 0;
  }
  return false;
}

}  // namespace

TEST(StopSignal, EndsTheRealGameOnTheSplashWithStatusZero) {
  harness::GAME_DIR_COPY dir;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    CHILD game = start_game({});
    ASSERT_GT(game.pid, 0);
    const auto until = CLOCK::now() + std::chrono::seconds(10);
    while (!handlers_installed(game.pid) && CLOCK::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // Well into the first five-second splash picture.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto sent = CLOCK::now();
    kill(game.pid, sig);
    // A generous bound against a hang; it takes a few tens of milliseconds.
    const int status = wait_for(game, std::chrono::seconds(2));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(CLOCK::now() - sent);
    const std::string said = read_all(game.err);
    ASSERT_NE(status, -1) << strsignal(sig) << ": still running after 2 s; " << said;
    EXPECT_TRUE(WIFEXITED(status)) << strsignal(sig);
    EXPECT_EQ(WEXITSTATUS(status), 0) << strsignal(sig) << ": " << said;
    RecordProperty(std::string("ms_after_") + sigabbrev_np(sig), static_cast<int>(took.count()));
  }
}

TEST(NoDisplay, IsNamedInOneLineAndTheGameEnds) {
  harness::GAME_DIR_COPY dir;
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  const std::string tests_driver = driver != nullptr ? driver : "dummy";
  // Unset, or set empty, which names no driver either.
  for (const bool empty : {false, true}) {
    SCOPED_TRACE(empty ? "SDL_VIDEODRIVER empty" : "SDL_VIDEODRIVER unset");
    setenv("SDL_VIDEODRIVER", "", 1);
    CHILD game = start_game({"DISPLAY", "WAYLAND_DISPLAY", empty ? "" : "SDL_VIDEODRIVER"});
    setenv("SDL_VIDEODRIVER", tests_driver.c_str(), 1);
    ASSERT_GT(game.pid, 0);
    const int status = wait_for(game, std::chrono::seconds(5));
    const std::string said = read_all(game.err);
    ASSERT_NE(status, -1) << "still running without a display";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    // Libraries may add lines of their own; the game says one thing.
    std::istringstream lines(said);
    std::vector<std::string> ours;
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("brinegrab:", 0) == 0) ours.push_back(line);
    }
    ASSERT_EQ(ours.size(), 1u) << said;
    EXPECT_EQ(ours[0].rfind("brinegrab: no display: set DISPLAY or WAYLAND_DISPLAY", 0), 0u)
        << said;
  }
}

// Tests that play the same game more than once.
class REPLAY : public PLAY_TEST {
 protected:
  // A fresh game, as the fixture starts one.
  void start_again() {
    shut_down(game);
    harness::reset();
    reset_game_globals();
    std::srand(1234);
    ASSERT_TRUE(start_up(game));
  }
};

// ---- Signals inside the process: each loop leaves as Escape would leave it.

class STOP : public REPLAY {
 protected:
  void SetUp() override {
    forget_stop_request();
    REPLAY::SetUp();
  }
  void TearDown() override {
    REPLAY::TearDown();
    forget_stop_request();
  }

  struct OUTCOME {
    std::string records;
    std::vector<std::string> music;
    int score;
    bool restart;
    bool fight_on, piece_on;
  };

  // A two-player game from the splash on, flips counted from the first of
  // play: pirate one stands on target (if any) before the third, and after
  // each flip in escapes Escape is pressed, or, from stop_at on, a signal
  // stands for them all.
  OUTCOME play(std::function<SDL_Rect()> target, const std::vector<int>& escapes, int stop_at) {
    start_again();
    for (int flip = 4; flip <= 6; ++flip) harness::press_after_flip(flip, SDLK_RETURN);
    harness::after_flip(MENU_FLIPS, [] {
      harness::press(SDLK_SPACE);
      harness::press(SDLK_RETURN);
    });
    if (target) {
      harness::after_flip(MENU_FLIPS + 2, [this, target] {
        no_ghost_pickups();
        stand_on(*game.myPirate, target());
      });
    }
    for (int flip : escapes) {
      if (stop_at != 0 && flip > stop_at) break;
      if (flip == stop_at) {
        harness::after_flip(MENU_FLIPS + flip, [] { std::raise(SIGTERM); });
      } else {
        harness::press_after_flip(MENU_FLIPS + flip, SDLK_ESCAPE);
      }
    }
    run(game);
    const OUTCOME outcome = {file_text("records.dat"), harness::music_files(), game.score, restart,
                             game.myfight->is_on(),    game.myminis->is_on()};
    forget_stop_request();
    return outcome;
  }

  static const int MENU_FLIPS = 7;
};

TEST_F(STOP, EveryLoopLeavesAsEscapeWouldAndTheRecordIsKept) {
  struct CASE {
    const char* where;
    std::function<SDL_Rect()> target;
    std::vector<int> escapes;  // flips after the menus
    int stop_at;
  };
  const std::vector<CASE> cases = {
      {"in play", nullptr, {10, 12}, 10},
      {"on the game-over screen", nullptr, {10, 12}, 12},
      {"in the sword fight", [this] { return game.myfight->get_hitbox(); }, {10, 12, 14}, 10},
      {"in a mini-game", [this] { return game.myminis->get_hitbox(); }, {10, 12, 14}, 10},
  };
  for (const CASE& c : cases) {
    const OUTCOME by_escape = play(c.target, c.escapes, 0);
    const OUTCOME by_signal = play(c.target, c.escapes, c.stop_at);
    EXPECT_FALSE(by_signal.restart) << c.where << ": the program ends";
    EXPECT_EQ(by_signal.records, by_escape.records) << c.where;
    EXPECT_EQ(by_signal.score, by_escape.score) << c.where;
    EXPECT_EQ(by_signal.music, by_escape.music) << c.where;
    EXPECT_EQ(by_signal.music.back(), "sfx/end.wav") << c.where;
    EXPECT_EQ(by_signal.fight_on && by_signal.piece_on, !c.target) << c.where;
  }
}

// Ctrl+C pressed twice: the game in play is saved before the program ends,
// as after one signal. Only a program still running STOP_GRACE_MS after the
// first signal is ended by a later one without saving. Each game runs as the
// program's entry runs it, in a process of its own, in a directory of its own.
TEST(StopSignal, TwiceInPlaySavesTheGameFirstUnlessTheProgramOutstaysTheGrace) {
  namespace fs = std::filesystem;
  harness::GAME_DIR_COPY dir;
  struct CASE {
    const char* name;
    int signals;
    int gap_ms;      // between them
    bool saved;      // records.dat holds what one signal saves
    int stopped_by;  // the signal that ended the program, or 0 for status 0
  };
  const CASE cases[] = {
      {"once", 1, 0, true, 0},
      {"twice at once", 2, 0, true, 0},
      {"again after the grace", 2, STOP_GRACE_MS + 100, false, SIGINT},
  };
  std::vector<pid_t> games;
  for (const CASE& c : cases) {
    fs::create_directory(c.name);
    for (const auto& entry : fs::directory_iterator(".")) {
      if (entry.is_symlink())
        fs::create_symlink(fs::read_symlink(entry), fs::path(c.name) / entry.path().filename());
    }
    const pid_t game_pid = fork();
    if (game_pid == 0) {
      alarm(30);  // a game that never ends fails the test instead of hanging it
      fs::current_path(c.name);
      harness::reset();
      reset_game_globals();
      forget_stop_request();
      std::srand(1234);
      GAME game;
      if (!start_up(game)) _exit(3);
      // Through the title, hints and solo mode, then ten frames of play.
      for (int flip = 4; flip <= 7; ++flip) harness::press_after_flip(flip, SDLK_RETURN);
      harness::after_flip(17, [c] {
        std::raise(SIGINT);
        if (c.signals < 2) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(c.gap_ms));
        std::raise(SIGINT);
      });
      run(game);
      if (stop_requested()) leave_at_once();  // as the program's entry does
      _exit(4);
    }
    games.push_back(game_pid);
  }
  std::string saved_once;
  for (size_t i = 0; i < games.size(); ++i) {
    const CASE& c = cases[i];
    int status = 0;
    waitpid(games[i], &status, 0);
    if (c.stopped_by == 0) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.name << ": " << status;
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.stopped_by)
          << c.name << ": " << status;
    }
    const std::string records = file_text(std::string(c.name) + "/records.dat");
    if (i == 0) {
      saved_once = records;
      EXPECT_TRUE(std::regex_match(records, std::regex("[1-9][0-9]* 0")))
          << "one signal saves the solo game's score: '" << records << "'";
    } else {
      EXPECT_EQ(records, c.saved ? saved_once : "") << c.name;
    }
  }
}

// ---- The closing second of each mini-game and the fight.

class CLOSING : public MINI_GAME_TEST {};

TEST_F(CLOSING, TheSecondAfterAMiniGameLastsASecondAndUsesUpItsKeys) {
  const std::vector<std::pair<const char*, std::function<void(int&)>>> drivers = {
      {"trap run", [](int& score) { mini1(score, screen); }},
      {"treasure boxes", [](int& score) { mini2(score, screen); }},
      {"cannonball rows", [](int& score) { mini3(score, screen); }},
      {"sword fight", [this](int& score) { game.myfight->collect(score, screen); }},
  };
  for (const auto& [name, driver] : drivers) {
    harness::reset();
    flip_times.clear();
    harness::on_every_flip([this](int) { flip_times.push_back(harness::now()); });
    harness::press_after_flip(3, SDLK_ESCAPE);
    // Keys pressed in the closing second, which begins at most 40 ms after
    // the last frame.
    harness::after_flip(4, [] {
      harness::at_time(harness::now() + 500, [] {
        harness::press(SDLK_ESCAPE);
        harness::press(SDLK_RETURN);
        harness::tap_up(SDLK_w);
      });
    });
    int score = 0;
    driver(score);
    EXPECT_EQ(harness::flips(), 4) << name;
    const Uint32 closing = harness::now() - last_flip_at();
    EXPECT_GE(closing, 1000u) << name;
    EXPECT_LE(closing, 1040u) << name;
    EXPECT_EQ(harness::drain_queue(), 0) << name << ": the keys stayed in the mini-game";
  }
}

// ---- The desktop keys.

namespace {

SDL_Event with_alt(SDL_Event e) {
  e.key.keysym.mod = KMOD_LALT;
  return e;
}

// Every desktop key pressed and released: full screen and mute toggled
// three times each (Alt+Enter, F11, M), P and Pause outside a game.
void press_desktop_keys() {
  harness::push(with_alt(harness::key_down(SDLK_RETURN)));
  harness::push(harness::key_up(SDLK_RETURN));
  for (SDLKey key : {SDLK_F11, SDLK_F11, SDLK_m, SDLK_m, SDLK_m}) harness::press(key);
}

}  // namespace

class DESKTOP_KEYS : public PLAY_TEST {};

TEST_F(DESKTOP_KEYS, ToggleOnAMenuWithoutAdvancingIt) {
  ASSERT_TRUE(screen->flags & SDL_FULLSCREEN);
  // Read outside a game, the desktop keys and the pause keys leave nothing,
  // releases included; a plain Return after them comes through whole.
  // Twice, so that full screen and sound are as they were.
  for (int twice = 0; twice < 2; ++twice) {
    press_desktop_keys();
    harness::press(SDLK_p);
    harness::press(SDLK_PAUSE);
  }
  harness::press(SDLK_RETURN);
  std::string read;
  for (SDL_Event e; poll_event(&e);) {
    read += e.type == SDL_KEYDOWN ? "+" : e.type == SDL_KEYUP ? "-" : "?";
    read += e.type == SDL_KEYDOWN || e.type == SDL_KEYUP ? SDL_GetKeyName(e.key.keysym.sym) : "";
    read += " ";
  }
  EXPECT_EQ(read, "+return -return ");
  ASSERT_TRUE(screen->flags & SDL_FULLSCREEN);
  ASSERT_FALSE(sound_muted());
  harness::after_flip(1, [] {
    press_desktop_keys();
    harness::press(SDLK_p);
    harness::press(SDLK_PAUSE);
  });
  bool full_screen = true;
  harness::after_flip(2, [&full_screen] {
    full_screen = (SDL_GetVideoSurface()->flags & SDL_FULLSCREEN) != 0;
    harness::press(SDLK_ESCAPE);
  });
  EXPECT_FALSE(mode_screen(game)) << "left by Escape, not by Alt+Enter";
  EXPECT_EQ(harness::flips(), 2) << "the pass that reads Escape draws nothing";
  EXPECT_FALSE(game.multi);
  EXPECT_FALSE(full_screen) << "toggled three times";
  EXPECT_TRUE(sound_muted());
  EXPECT_EQ(Mix_VolumeMusic(-1), 0);
  EXPECT_EQ(Mix_Volume(-1, -1), 0);
  harness::press(SDLK_m);
  harness::press(SDLK_F11);
  harness::press(SDLK_ESCAPE);
  mode_screen(game);
  EXPECT_FALSE(sound_muted());
  EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME);
  EXPECT_EQ(Mix_Volume(-1, -1), MIX_MAX_VOLUME);
  EXPECT_TRUE(screen->flags & SDL_FULLSCREEN);
}

// ---- Play with and without the extra keys.

namespace {

struct SNAPSHOT {
  int score, x1, y1, x2, y2, ball_x, ball_y, lives1;
  int next_rand;
  std::vector<std::string> music;
  bool operator==(const SNAPSHOT& o) const {
    return std::tie(score, x1, y1, x2, y2, ball_x, ball_y, lives1, next_rand, music) ==
           std::tie(o.score, o.x1, o.y1, o.x2, o.y2, o.ball_x, o.ball_y, o.lives1, o.next_rand,
                    o.music);
  }
};

std::ostream& operator<<(std::ostream& out, const SNAPSHOT& s) {
  return out << "score " << s.score << ", pirates (" << s.x1 << "," << s.y1 << ") (" << s.x2 << ","
             << s.y2 << "), ball (" << s.ball_x << "," << s.ball_y << "), lives " << s.lives1
             << ", next rand " << s.next_rand << ", music " << s.music.size();
}

}  // namespace

namespace {

// paused shows before dimmed all over, but for a panel of one colour around
// "Paused", which stands in the screen's middle (by the font's measure).
void expect_paused_over(SDL_Surface* before, SDL_Surface* paused, TTF_Font* font,
                        SDL_Color colour) {
  const int w = text_width(font, "Paused"), h = text_height(font, "Paused");
  const int x0 = centred_x(font, "Paused"), y0 = middle_y(font, "Paused");
  EXPECT_EQ(
      ink_missing(paused, [&](SDL_Surface* s) { put_text(s, font, "Paused", colour, x0, y0); }), 0);
  auto rgb = [&](int x, int y) {
    Uint8 r, g, b;
    harness::pixel_rgb(paused, x, y, &r, &g, &b);
    return std::make_tuple(r, g, b);
  };
  // The panel's extent, followed from just above the text's top left corner.
  const auto panel = rgb(x0 - 1, y0 - 1);
  int left = x0 - 1, right = x0 - 1, top = y0 - 1, bottom = y0 - 1;
  while (left > 0 && rgb(left - 1, y0 - 1) == panel) --left;
  while (right < 639 && rgb(right + 1, y0 - 1) == panel) ++right;
  while (top > 0 && rgb(x0 - 1, top - 1) == panel) --top;
  while (bottom < 479 && rgb(x0 - 1, bottom + 1) == panel) ++bottom;
  EXPECT_GT(x0 - left, 0);
  EXPECT_EQ(x0 - left, right + 1 - (x0 + w)) << "as wide a margin left and right";
  EXPECT_GT(y0 - top, 0);
  EXPECT_EQ(y0 - top, bottom + 1 - (y0 + h)) << "as high a margin above and below";
  // Everywhere else each channel of the old frame times one factor.
  double factor = -1;
  int off = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (x >= left && x <= right && y >= top && y <= bottom) continue;
      Uint8 b[3], p[3];
      harness::pixel_rgb(before, x, y, &b[0], &b[1], &b[2]);
      harness::pixel_rgb(paused, x, y, &p[0], &p[1], &p[2]);
      for (int i = 0; i < 3; ++i) {
        if (factor < 0 && b[i] >= 200) factor = static_cast<double>(p[i]) / b[i];
        if (factor >= 0 && std::abs(p[i] - b[i] * factor) > 2) ++off;
      }
    }
  }
  EXPECT_GT(factor, 0.2);
  EXPECT_LT(factor, 0.8);
  EXPECT_EQ(off, 0) << "pixels not dimmed alike outside the panel";
}

}  // namespace

class PLAY_AS_BEFORE : public REPLAY {
 protected:
  SNAPSHOT now() const {
    return {game.score,
            game.myPirate->get_x(),
            game.myPirate->get_y(),
            game.myPirate2->get_x(),
            game.myPirate2->get_y(),
            game.myCannonball->get_x(),
            game.myCannonball->get_y(),
            game.lives1,
            0,
            {}};
  }

  // A fresh game played by the play loop with script's keys until Escape
  // after flip `end`; what it left, with the next rand() and the music.
  SNAPSHOT play(bool two_players, int end, const std::function<void()>& script) {
    start_again();
    begin(two_players);
    no_ghost_pickups();
    script();
    harness::press_after_flip(end, SDLK_ESCAPE);
    play_loop(game);
    SNAPSHOT left = now();
    left.next_rand = std::rand();
    left.music = harness::music_files();
    return left;
  }

  // Pirate one walks right from flip 2 to flip 10 and down from flip 12;
  // pirate two walks up. Flips from 11 on come `shift` flips later.
  static void walk(int shift) {
    harness::after_flip(2, [] {
      harness::tap_down(SDLK_RIGHT);
      harness::tap_down(SDLK_w);
    });
    harness::after_flip(10, [] { harness::tap_up(SDLK_RIGHT); });
    harness::after_flip(12 + shift, [] { harness::tap_down(SDLK_DOWN); });
  }
};

TEST_F(PLAY_AS_BEFORE, DesktopKeysInPlayChangeNothing) {
  auto script = [this](bool keys) {
    return [this, keys] {
      walk(0);
      // Pirate two stands still as after a mini-game, with W still held.
      harness::after_flip(6, [this] {
        game.myPirate2->zero_vel();
        game.myPirate2->not_moved();
      });
      // Pirate two takes any key press as his own move: the desktop keys
      // must not reach him, or W's release would walk him back.
      if (keys) harness::after_flip(7, press_desktop_keys);
      harness::after_flip(9, [] { harness::tap_up(SDLK_w); });
    };
  };
  const SNAPSHOT plain = play(true, 30, script(false));
  const SNAPSHOT with_keys = play(true, 30, script(true));
  EXPECT_EQ(with_keys, plain);
  EXPECT_TRUE(sound_muted());
  harness::press(SDLK_m);
  harness::press(SDLK_F11);
  EXPECT_EQ(poll_event(&event), 0) << "all used up";
  EXPECT_FALSE(sound_muted());
  EXPECT_TRUE(screen->flags & SDL_FULLSCREEN);
}

TEST_F(PLAY_AS_BEFORE, APauseFreezesTheGameAndChangesNothingElse) {
  SDL_Event focus_lost = {};
  focus_lost.type = SDL_ACTIVEEVENT;
  focus_lost.active.gain = 0;
  focus_lost.active.state = SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS;
  SDL_Event minimised = focus_lost;
  minimised.active.state = SDL_APPACTIVE;
  struct CASE {
    const char* how;
    SDL_Event pause, resume;
  };
  const std::vector<CASE> cases = {
      {"P, then P", harness::key_down(SDLK_p), harness::key_down(SDLK_p)},
      {"Pause, then Return", harness::key_down(SDLK_PAUSE), harness::key_down(SDLK_RETURN)},
      {"focus lost, then Pause", focus_lost, harness::key_down(SDLK_PAUSE)},
      {"minimised, then P", minimised, harness::key_down(SDLK_p)},
  };
  // Pirate one lets go of Right while the game is paused: the release
  // reaches him in the frame the pause held up, as it would have unpaused.
  // Left, pressed while paused, is used up with its release.
  const SNAPSHOT plain = play(false, 30, [] { walk(0); });
  for (const CASE& c : cases) {
    SDL_Surface* before = nullptr;
    SDL_Surface* paused = nullptr;
    SNAPSHOT at_start = {}, at_end = {};
    int music_paused = 0;
    const SNAPSHOT with_pause = play(false, 31, [&] {
      harness::capture_frames(true);
      harness::after_flip(10, [&] {
        before = harness::last_frame();
        harness::push(c.pause);
        const Uint32 t = harness::now();
        harness::at_time(t + 1000, [&] {
          paused = harness::last_frame();
          at_start = now();
          music_paused = Mix_PausedMusic();
          harness::tap_down(SDLK_LEFT);
        });
        harness::at_time(t + 60000, [&] {
          at_end = now();
          harness::push(c.resume);
          harness::tap_up(SDLK_LEFT);
        });
      });
      walk(1);
    });
    EXPECT_EQ(with_pause, plain) << c.how;
    EXPECT_EQ(at_end, at_start) << c.how << ": nothing moved and nothing scored";
    EXPECT_EQ(music_paused, 1) << c.how;
    EXPECT_EQ(Mix_PausedMusic(), 0) << c.how;
    ASSERT_NE(before, nullptr);
    ASSERT_NE(paused, nullptr);
    // The frame that was on screen, dimmed, with "Paused" in the middle
    // on a panel that frames it evenly.
    expect_paused_over(before, paused, font2(), textcolor);
    if (c.how == cases[0].how) harness::save_png(paused, harness::frame_file("paused.png"));
    SDL_FreeSurface(before);
    SDL_FreeSurface(paused);
  }
}

TEST_F(PLAY_AS_BEFORE, EscapeWhilePausedEndsTheGame) {
  const SNAPSHOT plain = play(false, 10, [] {});
  const SNAPSHOT with_pause = play(false, 1000, [] {
    harness::after_flip(10, [] {
      harness::press(SDLK_p);
      harness::at_time(harness::now() + 5000, [] { harness::press(SDLK_ESCAPE); });
    });
  });
  EXPECT_EQ(with_pause, plain);
  EXPECT_EQ(with_pause.music.back(), "sfx/end.wav");
  EXPECT_EQ(harness::flips(), 12) << "ten frames, the paused one, and the last";
}

TEST_F(PLAY_AS_BEFORE, APauseInTheFightHoldsItAndChangesNothingElse) {
  // With no input the fight ends by itself, in frame 62.
  auto fight = [this](bool pause) {
    start_again();
    const PAUSABLE in_play(font2(), textcolor);
    if (pause) {
      harness::after_flip(20, [] {
        harness::press(SDLK_p);
        harness::at_time(harness::now() + 30000, [] { harness::press(SDLK_RETURN); });
      });
    }
    int score = 0;
    const Uint32 began = harness::now();
    const Uint32 paused_before = paused_ms();
    game.myfight->collect(score, screen);
    return std::vector<int>{score, harness::flips(), static_cast<int>(harness::now() - began),
                            static_cast<int>(paused_ms() - paused_before), std::rand()};
  };
  const std::vector<int> plain = fight(false);
  const std::vector<int> paused = fight(true);
  EXPECT_EQ(paused[0], plain[0]);
  EXPECT_EQ(paused[1], plain[1] + 1) << "one more flip: the paused frame";
  EXPECT_EQ(plain[3], 0);
  EXPECT_GE(paused[3], 29900);
  EXPECT_EQ(paused[2], plain[2] + paused[3]) << "the fight's own time is unchanged";
  EXPECT_EQ(paused[4], plain[4]);
}
