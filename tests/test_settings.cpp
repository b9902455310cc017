// The controls table and the player's settings: changed keys and buttons
// reach every place that reads them, clashes are refused, a settings file
// with bad lines keeps its good ones, and a slowed-down game keeps the rules,
// the score and the records as they were.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "keycaps.h"
#include "look.h"
#include "minigames/fight_rules.h"
#include "minigames/mini1.h"
#include "minigames/mini2.h"
#include "minigames/mini3.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "platform/gamepad.h"
#include "platform/key_names.h"
#include "platform/options.h"
#include "play_fixture.h"
#include "settings.h"
#include "settings_screen.h"
#include "sound_levels.h"

namespace {

// The defaults come back after every test, whatever it changed.
class SETTINGS_TEST : public PLAY_TEST {
 protected:
  void TearDown() override {
    use_settings(SETTINGS());
    PLAY_TEST::TearDown();
  }
};

SETTINGS rebound() {
  SETTINGS s;
  const SDLKey keys[PLAYER_ACTIONS] = {SDLK_i, SDLK_k, SDLK_j, SDLK_l, SDLK_u,
                                       SDLK_t, SDLK_v, SDLK_f, SDLK_h, SDLK_y};
  for (int a = 0; a < PLAYER_ACTIONS; ++a) s.keys[a] = keys[a];
  return s;
}

}  // namespace

// Each place that reads a player's key, asked whether a press did its
// thing: after the change the new key does it and the old key no longer does.
TEST_F(SETTINGS_TEST, AChangedKeyActsInPlayInEachMiniGameAndInTheFight) {
  struct PLACE {
    const char* name;
    SDLKey old_key, new_key;
    std::function<bool(SDLKey)> acts;
  };
  const std::vector<PLACE> places = {
      {"pirate one walks up", SDLK_UP, SDLK_i,
       [this](SDLKey k) {
         game.myPirate->zero_vel();
         game.myPirate->handle_input(harness::key_down(k));
         return game.myPirate->get_yvel() == -VELOCITY;
       }},
      {"pirate two walks left", SDLK_a, SDLK_f,
       [this](SDLKey k) {
         game.myPirate2->zero_vel();
         game.myPirate2->handle_input(harness::key_down(k));
         return game.myPirate2->get_xvel() == -VELOCITY;
       }},
      {"trap run: player two jumps", SDLK_w, SDLK_t,
       [](SDLKey k) {
         trap_run::TRAP_RUN_STATE run;
         trap_run::set_up(run);
         return trap_run::handle_event(run, harness::key_down(k)) == trap_run::RUN_SOUND::JUMP;
       }},
      {"treasure boxes: player one's Left opens the second box", SDLK_LEFT, SDLK_j,
       [](SDLKey k) {
         treasure_boxes::BOXES_STATE boxes;
         treasure_boxes::set_up(boxes);
         treasure_boxes::handle_event(boxes, harness::key_down(k));
         return boxes.treasures[1];
       }},
      {"cannonball rows: pirate two steps right", SDLK_d, SDLK_h,
       [](SDLKey k) {
         cannon_rows::ROWS_STATE rows;
         cannon_rows::handle_event(rows, harness::key_down(k));
         return rows.xVel2 == VELOCITY;
       }},
      {"sword fight: pirate one steps down", SDLK_DOWN, SDLK_k,
       [](SDLKey k) {
         fight::FIGHT_STATE f;
         fight::handle_input(f, harness::key_down(k));
         return f.yVel1 == VELOCITY;
       }},
      {"sword fight: player one strikes", SDLK_RCTRL, SDLK_u,
       [](SDLKey k) {
         fight::FIGHT_STATE f;
         return fight::handle_input(f, harness::key_down(k));
       }},
      {"sword fight: player two strikes", SDLK_g, SDLK_y,
       [](SDLKey k) {
         fight::FIGHT_STATE f;
         return fight::handle_input(f, harness::key_down(k));
       }},
  };
  for (const PLACE& place : places) {
    use_settings(SETTINGS());
    EXPECT_TRUE(place.acts(place.old_key)) << place.name << ", by default";
    EXPECT_FALSE(place.acts(place.new_key)) << place.name << ", by default";
    use_settings(rebound());
    EXPECT_TRUE(place.acts(place.new_key)) << place.name << ", changed";
    EXPECT_FALSE(place.acts(place.old_key)) << place.name << ", changed";
  }
}

TEST_F(SETTINGS_TEST, AKeyOrButtonAnotherActionHasIsRefusedOnTheScreen) {
  SETTINGS_MENU menu;
  auto enter = [&menu] { settings_menu_event(menu, harness::key_down(SDLK_RETURN)); };
  auto button = [](int b) {
    SDL_Event e{};
    e.type = SDL_JOYBUTTONDOWN;
    e.jbutton.button = static_cast<Uint8>(b);
    return e;
  };
  struct CASE {
    const char* what;
    SDL_Event given;
    bool taken;
  };
  const CASE cases[] = {
      {"player two's key", harness::key_down(SDLK_w), false},
      {"a menu's key", harness::key_down(SDLK_SPACE), false},
      {"a desktop key", harness::key_down(SDLK_F11), false},
      {"the menus' Start button", button(7), false},
      {"his own strike button", button(0), false},
      {"a free key", harness::key_down(SDLK_i), true},
      {"a free button", button(3), true},
  };
  for (const CASE& c : cases) {
    use_settings(SETTINGS());
    menu = SETTINGS_MENU();  // player one's Up is chosen first
    enter();
    ASSERT_TRUE(menu.waiting) << c.what;
    EXPECT_TRUE(settings_menu_event(menu, c.given)) << c.what;
    EXPECT_FALSE(menu.waiting) << c.what;
    const bool changed =
        current_settings().keys[P1_UP] != SDLK_UP || current_settings().buttons[P1_UP] != -1;
    EXPECT_EQ(changed, c.taken) << c.what;
    EXPECT_EQ(menu.message.empty(), c.taken) << c.what << ": " << menu.message;
  }
  // Escape while waiting keeps the key; Escape then leaves the screen.
  use_settings(SETTINGS());
  menu = SETTINGS_MENU();
  enter();
  EXPECT_TRUE(settings_menu_event(menu, harness::key_down(SDLK_ESCAPE)));
  EXPECT_EQ(current_settings().keys[P1_UP], SDLK_UP);
  EXPECT_FALSE(settings_menu_event(menu, harness::key_down(SDLK_ESCAPE)));
}

namespace {

SDL_Event pad_button(int button, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
  e.jbutton.type = e.type;
  e.jbutton.which = 0;
  e.jbutton.button = static_cast<Uint8>(button);
  e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
  return e;
}

SDL_Event pad_hat(Uint8 value) {
  SDL_Event e{};
  e.type = SDL_JOYHATMOTION;
  e.jhat.type = e.type;
  e.jhat.which = 0;
  e.jhat.value = value;
  return e;
}

}  // namespace

// With nothing but the first pad: down the d-pad to player one's Strike,
// Start to change it, button 2 as the new one, Back to leave. Button 2 then
// strikes, and the choice is in the settings file.
TEST_F(SETTINGS_TEST, APadAloneChangesAButtonThatThenStrikes) {
  const std::string config = dir.path() + "/config";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  std::vector<SDL_Event> script;
  for (int line = 0; line < 4; ++line) {
    script.push_back(pad_hat(SDL_HAT_DOWN));
    script.push_back(pad_hat(SDL_HAT_CENTERED));
  }
  for (const int button : {7, 2, 6}) {  // Start, the new button, Back
    script.push_back(pad_button(button, true));
    script.push_back(pad_button(button, false));
  }
  const int first = harness::flips() + 1;
  for (size_t i = 0; i < script.size(); ++i) {
    harness::push_after_flip(first + static_cast<int>(i), script[i]);
  }
  settings_screen(game);
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(current_settings().buttons[P1_STRIKE], 2);
  EXPECT_NE(harness::file_text(config + "/brinegrab/settings.conf").find("p1.strike.button = 2"),
            std::string::npos);
  GAMEPADS pads;
  std::deque<SDL_Event> out;
  translate_joystick_event(pads, pad_button(2, true), out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].type, SDL_KEYDOWN);
  EXPECT_EQ(out[0].key.keysym.sym, SDLK_RCTRL);
  out.clear();
  translate_joystick_event(pads, pad_button(0, true), out);
  EXPECT_TRUE(out.empty()) << "the old strike button is free again";
}

// The XDG Base Directory rule: the settings live in $XDG_CONFIG_HOME when it
// is an absolute path, otherwise (unset, empty or relative) in ~/.config. A
// new file is readable by all, as records.dat is, and a save that fails
// leaves nothing beside the file.
TEST_F(SETTINGS_TEST, TheSettingsLiveWhereTheXdgRuleSaysAndASaveLeavesOneFile) {
  namespace fs = std::filesystem;
  const std::string home_before = std::getenv("HOME");
  const std::string t = dir.path();
  struct CASE {
    const char* what;
    const char* xdg_config_home;  // nullptr: unset; T stands for the test's directory
    const char* dir;              // ~ stands for HOME
  };
  const CASE cases[] = {
      {"an absolute XDG_CONFIG_HOME", "T/config", "T/config/brinegrab"},
      {"no XDG_CONFIG_HOME", nullptr, "~/.config/brinegrab"},
      {"an empty XDG_CONFIG_HOME", "", "~/.config/brinegrab"},
      {"a relative XDG_CONFIG_HOME", "config", "~/.config/brinegrab"},
  };
  const auto entries = [](const fs::path& d) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(d)) names.push_back(e.path().filename());
    return names;
  };
  const std::vector<std::string> one_file = {"settings.conf"};
  std::string conf;
  int number = 0;
  for (const CASE& c : cases) {
    const std::string home = t + "/home" + std::to_string(++number);
    setenv("HOME", home.c_str(), 1);
    if (c.xdg_config_home == nullptr) {
      unsetenv("XDG_CONFIG_HOME");
    } else {
      setenv("XDG_CONFIG_HOME", std::regex_replace(c.xdg_config_home, std::regex("^T"), t).c_str(),
             1);
    }
    const std::string where =
        std::regex_replace(std::regex_replace(c.dir, std::regex("^T"), t), std::regex("^~"), home);
    conf = where + "/settings.conf";
    fs::create_directories(where);
    std::ofstream(conf) << "speed = 70\n";
    use_settings(SETTINGS());
    load_settings();
    EXPECT_EQ(current_settings().speed, 70) << c.what;

    fs::remove(conf);
    SETTINGS changed;
    changed.music = 40;
    use_settings(changed);
    EXPECT_TRUE(save_settings()) << c.what;
    std::vector<std::string> problems;
    EXPECT_EQ(settings_from_text(harness::file_text(conf), problems), changed) << c.what;
    EXPECT_EQ(fs::status(conf).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read)
        << c.what;
    EXPECT_EQ(entries(where), one_file) << c.what;
  }
  // A save that cannot rename over the file.
  fs::remove(conf);
  fs::create_directory(conf);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(save_settings());
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(entries(fs::path(conf).parent_path()), one_file);
  setenv("HOME", home_before.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
}

// Settings that cannot be kept for next time still hold for this run, and
// the screen says so before it goes, on its message line.
TEST_F(SETTINGS_TEST, ASaveThatFailsIsSaidOnTheSettingsScreen) {
  const std::string blocked = dir.path() + "/a-file";  // where a directory should be
  std::ofstream(blocked) << "";
  setenv("XDG_CONFIG_HOME", blocked.c_str(), 1);
  const int first = harness::flips() + 1;
  // Down to the music volume, one step quieter, then leave.
  for (int line = 0; line < LINE_MUSIC; ++line) harness::press_after_flip(first + line, SDLK_DOWN);
  harness::press_after_flip(first + LINE_MUSIC, SDLK_LEFT);
  harness::press_after_flip(first + LINE_MUSIC + 1, SDLK_ESCAPE);
  harness::capture_frames(true);
  testing::internal::CaptureStderr();
  settings_screen(game);
  const std::string said = testing::internal::GetCapturedStderr();
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(current_settings().music, 90);
  // The step that failed, with its own reason: the directory cannot be made.
  EXPECT_EQ(said, "brinegrab: cannot save the settings in '" + blocked +
                      "/brinegrab/settings.conf': cannot make '" + blocked +
                      "/brinegrab': Not a directory\n");
  const std::string message = "These settings could not be saved for next time";
  TTF_Font* small = TTF_OpenFont("text.ttf", 24);
  ASSERT_NE(small, nullptr);
  int w = 0, h = 0;
  TTF_SizeText(small, message.c_str(), &w, &h);
  SDL_Surface* frame = harness::last_frame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(ink_missing(frame,
                        [&](SDL_Surface* s) {
                          put_text(s, small, message, textcolor, (640 - w) / 2, 368);
                        }),
            0)
      << "the message, centred on the screen's message line";
  SDL_FreeSurface(frame);
  TTF_CloseFont(small);
}

// A settings directory the player may not make (a read-only disk, a folder of
// someone else's) is named with that step's reason, not as a file missing.
TEST_F(SETTINGS_TEST, ADirectoryThatCannotBeMadeIsNamedWithItsReason) {
  namespace fs = std::filesystem;
  fs::permissions(dir.path(), fs::perms::all);
  const std::string locked = dir.path() + "/locked";
  fs::create_directory(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  setenv("XDG_CONFIG_HOME", locked.c_str(), 1);
  int errors[2];
  ASSERT_EQ(pipe(errors), 0);
  const pid_t child = fork();
  if (child == 0) {
    dup2(errors[1], STDERR_FILENO);
    // As a player, whom permissions stop as they never stop root.
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
      _exit(2);
    }
    _exit(save_settings() ? 3 : 0);
  }
  close(errors[1]);
  std::string said;
  char buffer[512];
  for (ssize_t n; (n = read(errors[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  close(errors[0]);
  int status = -1;
  waitpid(child, &status, 0);
  unsetenv("XDG_CONFIG_HOME");
  fs::permissions(locked, fs::perms::owner_all);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(said, "brinegrab: cannot save the settings in '" + locked +
                      "/brinegrab/settings.conf': cannot make '" + locked +
                      "/brinegrab': Permission denied\n");
}

TEST_F(SETTINGS_TEST, ABadLineIsReportedOnceAndKeepsItsDefault) {
  const std::string text =
      "# a comment, then a blank line\n"
      "\n"
      "p1.up = i\n"                 // taken
      "P2.Strike =  Right Shift\n"  // taken: any case, blanks around
      "speed = 70\n"                // taken
      "jump = space\n"              // unknown setting
      "p1.down down\n"              // no "="
      "p1.left = no such key\n"     // unknown key
      "music = 55\n"                // not a step of 10
      "effects = 120\n"             // above 100
      "p1.right = w\n"              // player two's key
      "p2.up.button = 7\n";         // the menus' Start button
  std::vector<std::string> problems;
  const SETTINGS s = settings_from_text(text, problems);
  const SETTINGS defaults;
  EXPECT_EQ(s.keys[P1_UP], SDLK_i);
  EXPECT_EQ(s.keys[P2_STRIKE], SDLK_RSHIFT);
  EXPECT_EQ(s.speed, 70);
  EXPECT_EQ(s.keys[P1_DOWN], SDLK_DOWN);
  EXPECT_EQ(s.keys[P1_LEFT], SDLK_LEFT);
  EXPECT_EQ(s.keys[P1_RIGHT], SDLK_RIGHT);
  EXPECT_EQ(s.music, 100);
  EXPECT_EQ(s.effects, 100);
  EXPECT_EQ(s.buttons[P2_UP], -1);
  EXPECT_EQ(problems.size(), 7u);

  // The file as the game reads it: the first three problems said once on
  // stderr, the others counted.
  const std::string config = dir.path() + "/config";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  std::filesystem::create_directories(config + "/brinegrab");
  std::ofstream(config + "/brinegrab/settings.conf") << text;
  testing::internal::CaptureStderr();
  load_settings();
  const std::string said = testing::internal::GetCapturedStderr();
  unsetenv("XDG_CONFIG_HOME");
  int lines = 0;
  for (char c : said) lines += c == '\n';
  EXPECT_EQ(lines, 4) << said;
  EXPECT_NE(said.find("no such key"), std::string::npos) << said;
  EXPECT_NE(said.find("more lines not understood (4 in all)"), std::string::npos) << said;
  EXPECT_EQ(current_settings(), s);

  // What the game writes, it reads back the same, and says nothing.
  problems.clear();
  EXPECT_EQ(settings_from_text(settings_text(s), problems), s);
  EXPECT_TRUE(problems.empty());
}

// A settings file the game cannot or should not read whole is refused in one
// line and the game plays with its defaults; a junk file costs a few lines.
// No byte of the file or its name reaches the terminal raw, and a NUL does
// not cut a message.
TEST_F(SETTINGS_TEST, AnyFileIsReadSafelyAndSaidInAFewPlainLines) {
  using namespace std::string_literals;
  // Beyond the bound by one byte: a comment fills it after a good line.
  const std::string good = "speed = 70\n";
  const std::string over = good + "#" + std::string(64 * 1024 - good.size() - 2, 'x') + "\n\n";
  // 64 KB to the byte: after the good line, as many bad lines as fit, then
  // a blank line.
  const size_t bad_lines = (64 * 1024 - good.size()) / 2;
  std::string junk = good;
  for (size_t i = 0; i < bad_lines; ++i) junk += "?\n";
  junk += "\n";
  ASSERT_EQ(junk.size(), 64u * 1024);
  struct CASE {
    const char* what;
    std::function<void(const std::string&)> make;
    int lines;  // said on stderr
    std::string said;
    int speed;
  };
  const CASE cases[] = {
      {"a pipe", [](const std::string& p) { mkfifo(p.c_str(), 0644); }, 1,
       ": not a regular file; playing with the defaults", 100},
      {"a link to an endless device",
       [](const std::string& p) { std::filesystem::create_symlink("/dev/zero", p); }, 1,
       ": not a regular file; playing with the defaults", 100},
      {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); }, 1,
       ": not a regular file", 100},
      {"a byte over 64 KB", [&](const std::string& p) { std::ofstream(p) << over; }, 1,
       ": larger than 64 KB; playing with the defaults", 100},
      {"64 KB of bad lines", [&](const std::string& p) { std::ofstream(p) << junk; }, 4,
       ": more lines not understood (" + std::to_string(bad_lines - 3) + " in all)", 70},
      {"control bytes and a NUL in a line",
       [](const std::string& p) {
         std::ofstream(p) << "p1.up = \x1b]0;PWNED\x07\x1b[31m\nja\0mp = 1\n"s;
       },
       2, "no setting is called 'ja\\x00mp'", 100},
  };
  const std::string config = dir.path() + "/con\x1b[2Jfig";
  const std::string shown_path = "'" + dir.path() + "/con\\x1b[2Jfig/brinegrab/settings.conf'";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  for (const CASE& c : cases) {
    std::filesystem::remove_all(config);
    std::filesystem::create_directories(config + "/brinegrab");
    c.make(config + "/brinegrab/settings.conf");
    use_settings(SETTINGS());
    testing::internal::CaptureStderr();
    load_settings();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.lines) << c.what << ": " << said;
    EXPECT_NE(said.find(c.said), std::string::npos) << c.what << ": " << said;
    EXPECT_NE(said.find(shown_path), std::string::npos) << c.what << ": " << said;
    EXPECT_FALSE(harness::has_control_bytes(said)) << c.what << ": " << said;
    EXPECT_EQ(current_settings().speed, c.speed) << c.what;
  }
  unsetenv("XDG_CONFIG_HOME");
}

// Each good line sets its own setting and no other; a key or button that
// another action has is refused, the file's later line giving way.
TEST_F(SETTINGS_TEST, EachLineSetsItsOwnSettingAndAClashKeepsTheDefault) {
  struct CASE {
    const char* text;
    void (*expected)(SETTINGS&);  // applied to the defaults
    size_t problems;
  };
  const CASE cases[] = {
      {"music = 30\neffects = 70\n",
       [](SETTINGS& s) {
         s.music = 30;
         s.effects = 70;
       },
       0},
      {"p1.up = w\n", [](SETTINGS&) {}, 1},  // player two's Up
      // "none" is no button: any number of actions may have none.
      {"p1.strike.button = none\np2.strike.button = none\n",
       [](SETTINGS& s) { s.buttons[P1_STRIKE] = s.buttons[P2_STRIKE] = -1; }, 0},
      {"p1.up.button = 0\n", [](SETTINGS&) {}, 1},  // his own Strike's
      // R and the watcher's keys act only where no player's key does.
      {"p1.strike = r\n", [](SETTINGS& s) { s.keys[P1_STRIKE] = SDLK_r; }, 0},
      {"p1.strike = c\n", [](SETTINGS&) {}, 1},  // the mode screen's C
  };
  for (const CASE& c : cases) {
    SETTINGS expected;
    c.expected(expected);
    std::vector<std::string> problems;
    EXPECT_EQ(settings_from_text(c.text, problems), expected) << c.text;
    EXPECT_EQ(problems.size(), c.problems) << c.text;
  }
}

TEST_F(SETTINGS_TEST, HalfSpeedDoublesEachFrameAndScoresTheSame) {
  struct RUN {
    int score;
    int pirate_x;
    int next_rand;
    std::vector<Uint32> frame_lengths;
  };
  auto play = [this](int speed) {
    SETTINGS s;
    s.speed = speed;
    use_settings(s);
    // A new start each time: both runs begin from the same objects and seed.
    shut_down(game);
    std::srand(99);
    EXPECT_TRUE(start_up(game));
    begin(false);
    game.score = 0;
    RUN r{};
    for (int frame = 0; frame < 40; ++frame) {
      if (frame == 5) harness::push(harness::key_down(SDLK_RIGHT));
      if (frame == 25) harness::push(harness::key_up(SDLK_RIGHT));
      const Uint32 before = harness::now();
      play_frame(game);
      r.frame_lengths.push_back(harness::now() - before);
    }
    r.score = game.score;
    r.pirate_x = game.myPirate->get_x();
    r.next_rand = std::rand();
    return r;
  };
  const RUN full = play(100);
  const RUN half = play(50);
  EXPECT_GE(full.score, 40) << "a point for each frame on time";
  EXPECT_EQ(full.pirate_x, 280 + 20 * VELOCITY) << "twenty frames walking right";
  EXPECT_EQ(half.score, full.score);
  EXPECT_EQ(half.pirate_x, full.pirate_x);
  EXPECT_EQ(half.next_rand, full.next_rand) << "the same rand() calls in the same order";
  for (size_t f = 0; f < full.frame_lengths.size(); ++f) {
    if (full.frame_lengths[f] != 40u) continue;  // a hit's pause, the same in both
    EXPECT_EQ(half.frame_lengths[f], 80u) << "frame " << f;
  }
  // The mini-games and the fight wait a fixed 40 ms a frame: 80 at half speed.
  const std::vector<std::pair<const char*, std::function<void(int&)>>> waiting = {
      {"trap run", [](int& score) { mini1(score, screen); }},
      {"cannonball rows", [](int& score) { mini3(score, screen); }},
      {"sword fight", [this](int& score) { game.myfight->collect(score, screen); }},
  };
  for (const auto& [name, driver] : waiting) {
    harness::reset();
    std::vector<Uint32> flips;
    harness::on_every_flip([&flips](int) { flips.push_back(harness::now()); });
    harness::press_after_flip(3, SDLK_ESCAPE);
    int score = 0;
    driver(score);
    ASSERT_GE(flips.size(), 3u) << name;
    EXPECT_EQ(flips[2] - flips[1], 80u) << name;
  }
}

TEST_F(SETTINGS_TEST, ASlowedDownGameLeavesTheRecordsAsTheyWere) {
  SETTINGS s;
  s.speed = 80;
  use_settings(s);
  std::ofstream("records.dat") << "7 9";
  for (int flip = 4; flip <= 7; ++flip) harness::press_after_flip(flip, SDLK_RETURN);
  harness::press_after_flip(40, SDLK_ESCAPE);  // ends the game
  harness::press_after_flip(42, SDLK_ESCAPE);  // leaves the game-over screen
  run(game);
  EXPECT_FALSE(restart);
  EXPECT_GT(game.score, 0);
  EXPECT_EQ(harness::file_text("records.dat"), "7 9");
}

// The key lists a player reads name every action by the key the table
// gives it, so a changed default cannot leave them behind.
TEST(CONTROLS, EveryDefaultKeyIsNamedInTheHelpTheManPageTheWebPageAndTheReadme) {
  const std::string source = BRINEGRAB_SOURCE_DIR;
  auto file = [](const std::string& path) { return harness::file_text(path); };
  OPTIONS options;
  char program[] = "brinegrab", help[] = "--help";
  char* argv[] = {program, help, nullptr};
  char* printed = nullptr;
  size_t printed_size = 0;
  FILE* out = open_memstream(&printed, &printed_size);
  parse_options(2, argv, options, out, stderr);
  std::fclose(out);
  const std::string help_text(printed, printed_size);
  std::free(printed);
  struct DOC {
    const char* name;
    std::string text;
    bool browser;  // F11 is the browser's own there
  };
  const DOC docs[] = {
      {"--help", help_text, false},
      {"man page", file(source + "/dist/brinegrab.6.in"), false},
      {"web page", file(source + "/src/platform/web/shell.html"), true},
      {"README", file(source + "/README.md"), false},
  };
  // The name shown is the key's: SDL's own name, Enter for Return, "arrow
  // keys" for the four arrows, or one of a list of letters.
  for (int a = 0; a < ACTIONS; ++a) {
    const CONTROL& c = control(static_cast<ACTION>(a));
    const std::string sdl = key_name(c.key), shown = tr(c.shown);
    const std::regex name(
        "(^|[ ,+])" + (sdl == "return" ? std::string("enter") : sdl) + "$|(^|, )" + sdl + "(,|$)",
        std::regex::icase);
    const bool arrow =
        a < PLAYER_ACTIONS && (sdl == "up" || sdl == "down" || sdl == "left" || sdl == "right");
    EXPECT_TRUE(arrow ? shown == "arrow keys" : std::regex_search(shown, name))
        << c.name << " shows " << shown << " for the key SDL calls " << sdl;
  }
  for (const DOC& doc : docs) {
    ASSERT_FALSE(doc.text.empty()) << doc.name;
    // Troff's and HTML's markup out of the way.
    const std::string plain = std::regex_replace(
        std::regex_replace(doc.text, std::regex("<[^>]*>|\\\\f[BIR]"), " "), std::regex("\""), "");
    for (int a = 0; a < ACTIONS; ++a) {
      const ACTION action = static_cast<ACTION>(a);
      // F11 is the browser's own; the page does not offer replays.
      if (doc.browser && (action == DESK_FULL_SCREEN || action >= WATCH_GAME)) continue;
      std::string pattern = tr(control(action).shown);
      pattern = "\\b" + std::regex_replace(pattern, std::regex("[ ,+]+"), "[\\s,+]*") + "\\b";
      EXPECT_TRUE(std::regex_search(plain, std::regex(pattern, std::regex::icase)))
          << doc.name << " does not name " << tr(control(action).shown) << " ("
          << control(action).name << ")";
    }
  }
}

// The volumes are parts of the mixer's full volume; M silences both and
// brings back the chosen ones, not the full volume.
TEST_F(SETTINGS_TEST, MUnmutesToTheChosenVolumes) {
  SETTINGS s;
  s.music = 50;
  s.effects = 30;
  use_settings(s);
  const int music = MIX_MAX_VOLUME * 50 / 100, effects = MIX_MAX_VOLUME * 30 / 100;
  EXPECT_EQ(Mix_VolumeMusic(-1), music);
  EXPECT_EQ(Mix_Volume(-1, -1), effects);
  SDL_Event e;
  for (const int expected_music : {0, music}) {
    harness::press(SDLK_m);
    while (poll_event(&e)) {
    }
    EXPECT_EQ(Mix_VolumeMusic(-1), expected_music);
    EXPECT_EQ(Mix_Volume(-1, -1), expected_music == 0 ? 0 : effects);
  }
}

namespace {

SDL_Event with_mod(SDL_Event e, SDLMod mod) {
  e.key.keysym.mod = mod;
  return e;
}

// The events given to the screen through the event layer, one drain as a
// frame of the screen reads them.
void give(SETTINGS_MENU& menu, const std::vector<SDL_Event>& events) {
  for (const SDL_Event& e : events) harness::push(e);
  read_settings_events(menu);
}

std::vector<SDL_Event> presses(std::initializer_list<SDLKey> keys) {
  std::vector<SDL_Event> events;
  for (const SDLKey key : keys) {
    events.push_back(harness::key_down(key));
    events.push_back(harness::key_up(key));
  }
  return events;
}

// The list as the screen shows it: the five moves of each player, then
// game speed, music, effects, Defaults and the language beside it.
enum { SPEED_LINE = 5, DEFAULTS_LINE = 8, LANGUAGE_LINE = 9 };

}  // namespace

// The arrow keys choose whatever keys the players have, even keys no
// keyboard names; the players' own keys choose too.
TEST_F(SETTINGS_TEST, TheArrowsChooseAndChangeWhateverTheKeys) {
  SETTINGS unnamed;
  for (int a = 0; a < PLAYER_ACTIONS; ++a) unnamed.keys[a] = static_cast<SDLKey>(SDLK_WORLD_0 + a);
  struct CASE {
    const char* what;
    SETTINGS settings;
    std::vector<SDLKey> keys;
    int line, column, speed;
  };
  const std::vector<CASE> cases = {
      {"Down past the last line stays there", SETTINGS(), std::vector<SDLKey>(12, SDLK_DOWN),
       LANGUAGE_LINE, 0, 100},
      {"Right from Defaults: the language beside it",
       SETTINGS(),
       {SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN,
        SDLK_RIGHT},
       LANGUAGE_LINE,
       0,
       100},
      {"Up past the first line stays there", SETTINGS(), {SDLK_DOWN, SDLK_UP, SDLK_UP}, 0, 0, 100},
      {"Right chooses player two", SETTINGS(), {SDLK_DOWN, SDLK_RIGHT}, 1, 1, 100},
      {"Left chooses player one again", SETTINGS(), {SDLK_RIGHT, SDLK_LEFT}, 0, 0, 100},
      {"Left twice stays on player one", SETTINGS(), {SDLK_LEFT, SDLK_LEFT}, 0, 0, 100},
      {"player two's D chooses player two", SETTINGS(), {SDLK_s, SDLK_d}, 1, 1, 100},
      {"arrows with player one on I, K, J, L", rebound(), {SDLK_DOWN, SDLK_RIGHT}, 1, 1, 100},
      {"player one's own K and L", rebound(), {SDLK_k, SDLK_l}, 1, 1, 100},
      {"arrows with keys no keyboard names", unnamed, std::vector<SDLKey>(12, SDLK_DOWN),
       LANGUAGE_LINE, 0, 100},
      {"Left slows the game by a step",
       SETTINGS(),
       {SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_LEFT},
       SPEED_LINE,
       0,
       90},
      {"Right stops at full speed",
       SETTINGS(),
       {SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RIGHT},
       SPEED_LINE,
       0,
       100},
      {"Enter at full speed steps down, no jump",
       SETTINGS(),
       {SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN},
       SPEED_LINE,
       0,
       90},
      {"Enter turns back at the slowest",
       SETTINGS(),
       {SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN, SDLK_RETURN,
        SDLK_RETURN, SDLK_RETURN, SDLK_RETURN, SDLK_RETURN},
       SPEED_LINE,
       0,
       60},
  };
  for (const CASE& c : cases) {
    use_settings(c.settings);
    SETTINGS_MENU menu;
    give(menu, presses({}));
    for (const SDLKey key : c.keys) give(menu, presses({key}));
    EXPECT_EQ(menu.line, c.line) << c.what;
    EXPECT_EQ(menu.column, c.column) << c.what;
    EXPECT_EQ(current_settings().speed, c.speed) << c.what;
  }
}

// While "Press a key" waits every key reaches it through the event layer:
// the game's own keys are refused by name and do nothing else, Escape and
// the pad's Back cancel, a modifier counts once let go alone.
TEST_F(SETTINGS_TEST, WhileAKeyIsAwaitedEveryKeyReachesThePrompt) {
  const SDL_Event alt_down = harness::key_down(SDLK_LALT);
  struct CASE {
    const char* what;
    std::vector<SDL_Event> given;
    SDLKey key;  // player one's Up afterwards
    const char* message;
  };
  const std::vector<CASE> cases = {
      {"Escape cancels", presses({SDLK_ESCAPE}), SDLK_UP, ""},
      {"the pad's Back cancels", {pad_button(6, true), pad_button(6, false)}, SDLK_UP, ""},
      {"M", presses({SDLK_m}), SDLK_UP, "Key M is taken: mute"},
      {"P", presses({SDLK_p}), SDLK_UP, "Key P is taken: pause"},
      {"Pause", presses({SDLK_PAUSE}), SDLK_UP, "Key Pause is taken: pause"},
      {"F11", presses({SDLK_F11}), SDLK_UP, "Key F11 is taken: full screen"},
      {"Enter", presses({SDLK_RETURN}), SDLK_UP, "Key Enter is taken: next"},
      {"player two's W", presses({SDLK_w}), SDLK_UP, "Key W is taken: P2 Up"},
      {"Alt+Enter",
       {alt_down, with_mod(harness::key_down(SDLK_RETURN), KMOD_LALT),
        with_mod(harness::key_up(SDLK_RETURN), KMOD_LALT), harness::key_up(SDLK_LALT)},
       SDLK_UP,
       "Key Alt+Enter is taken: full screen"},
      {"Left Alt alone", {alt_down, harness::key_up(SDLK_LALT)}, SDLK_LALT, ""},
      {"a key with Shift held",
       {harness::key_down(SDLK_LSHIFT), with_mod(harness::key_down(SDLK_i), KMOD_LSHIFT),
        harness::key_up(SDLK_LSHIFT)},
       SDLK_i,
       ""},
      {"the semicolon", presses({SDLK_SEMICOLON}), SDLK_SEMICOLON, ""},
  };
  for (const CASE& c : cases) {
    use_settings(SETTINGS());
    SETTINGS_MENU menu;
    give(menu, presses({SDLK_RETURN}));
    ASSERT_TRUE(menu.waiting) << c.what;
    give(menu, c.given);
    EXPECT_FALSE(menu.waiting) << c.what;
    EXPECT_EQ(menu.message, c.message) << c.what;
    EXPECT_EQ(current_settings().keys[P1_UP], c.key) << c.what;
    EXPECT_FALSE(sound_muted()) << c.what;
    // The prompt is gone: Escape now leaves the screen.
    harness::press(SDLK_ESCAPE);
    EXPECT_FALSE(read_settings_events(menu)) << c.what;
  }
}

// Defaults asks first; moving away forgets the question.
TEST_F(SETTINGS_TEST, DefaultsNeedsASecondEnter) {
  SETTINGS slow = rebound();
  slow.speed = 50;
  slow.music = 20;
  struct CASE {
    const char* what;
    std::vector<SDLKey> keys;  // from Defaults
    int speed;
  };
  const CASE cases[] = {
      {"one Enter", {SDLK_RETURN}, 50},
      {"two", {SDLK_RETURN, SDLK_RETURN}, 100},
      {"Enter, away and back, Enter", {SDLK_RETURN, SDLK_UP, SDLK_DOWN, SDLK_RETURN}, 50},
  };
  for (const CASE& c : cases) {
    use_settings(slow);
    SETTINGS_MENU menu;
    give(menu, std::vector<SDL_Event>());
    for (int i = 0; i < DEFAULTS_LINE; ++i) give(menu, presses({SDLK_DOWN}));
    for (const SDLKey key : c.keys) give(menu, presses({key}));
    EXPECT_EQ(current_settings().speed, c.speed) << c.what;
    const bool reset = c.speed == 100;
    EXPECT_EQ(current_settings() == SETTINGS(), reset) << c.what;
    if (c.keys.size() == 1) {
      EXPECT_EQ(menu.message,
                "Enter again: every key, the speed and the volumes back to their defaults");
    }
    if (reset) {
      EXPECT_NE(menu.message.find("back to their defaults"), std::string::npos);
    }
  }
}

namespace {

// Where the frame shows the text in the colour (the top left corner of its
// box), or {-1, -1}.
// The text is UTF-8 (a language's name in its own letters); rows, if given,
// limits the search to the top rows of its box (a face taller than the band
// it is drawn on).
std::pair<int, int> find_text(SDL_Surface* frame, TTF_Font* font, const std::string& text,
                              SDL_Color colour, int rows = 0) {
  int w = 0, h = 0;
  if (font == nullptr || TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return {-1, -1};
  if (rows > 0 && rows < h) h = rows;
  SDL_Surface* alone = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  SDL_FillRect(alone, nullptr, SDL_MapRGB(alone->format, 0, 255, 255));
  SDL_Surface* drawn = TTF_RenderUTF8_Solid(font, text.c_str(), colour);
  SDL_BlitSurface(drawn, nullptr, alone, nullptr);
  SDL_FreeSurface(drawn);
  // Every pixel of the text's box, ink or not, the ink ones first.
  std::vector<std::pair<int, int>> ink, clear;
  for (int y = 0; y < alone->h; ++y) {
    for (int x = 0; x < alone->w; ++x) {
      Uint8 r, g, b;
      harness::pixel_rgb(alone, x, y, &r, &g, &b);
      (r == colour.r && g == colour.g && b == colour.b ? ink : clear).emplace_back(x, y);
    }
  }
  // rows < 0: only the rows that hold ink, for a text whose box runs past
  // the band it is drawn on.
  if (rows < 0 && !ink.empty()) {
    int top = alone->h, bottom = -1;
    for (const auto& p : ink) top = std::min(top, p.second), bottom = std::max(bottom, p.second);
    std::vector<std::pair<int, int>> inside;
    for (const auto& p : clear) {
      if (p.second >= top && p.second <= bottom) inside.push_back(p);
    }
    clear.swap(inside);
  }
  const size_t inked = ink.size();
  ink.insert(ink.end(), clear.begin(), clear.end());
  // The frame's colours read once: the search compares them many times.
  std::vector<bool> in_colour(static_cast<size_t>(frame->w * frame->h));
  for (int y = 0; y < frame->h; ++y) {
    for (int x = 0; x < frame->w; ++x) {
      Uint8 r, g, b;
      harness::pixel_rgb(frame, x, y, &r, &g, &b);
      in_colour[static_cast<size_t>(y * frame->w + x)] =
          r == colour.r && g == colour.g && b == colour.b;
    }
  }
  std::pair<int, int> found = {-1, -1};
  for (int y = 0; y + alone->h <= frame->h && found.first < 0; ++y) {
    for (int x = 0; x + alone->w <= frame->w && found.first < 0; ++x) {
      bool all = inked > 0;
      for (size_t i = 0; all && i < ink.size(); ++i) {
        const int at = (y + ink[i].second) * frame->w + x + ink[i].first;
        all = in_colour[static_cast<size_t>(at)] == (i < inked);
      }
      if (all) found = {x, y};
    }
  }
  SDL_FreeSurface(alone);
  return found;
}

}  // namespace

// The screen as a player reads it: keys by their keycaps, "stick" only for
// a move and "no button" for a strike without one, the list on a plain
// panel, the keys that work on the line where the other screens have theirs.
TEST_F(SETTINGS_TEST, TheScreenShowsKeycapsOnAPanelAndItsKeysAtTheBottom) {
  SETTINGS s;
  s.keys[P1_DOWN] = SDLK_KP_ENTER;
  s.keys[P1_LEFT] = SDLK_SEMICOLON;
  s.buttons[P2_STRIKE] = -1;
  use_settings(s);
  harness::capture_frames(true);
  harness::press_after_flip(harness::flips() + 2, SDLK_ESCAPE);
  settings_screen(game);
  SDL_Surface* frame = harness::last_frame();
  ASSERT_NE(frame, nullptr);
  harness::save_png(frame, harness::frame_file("settings.png"));
  TTF_Font* list = face(FACE::LIST);
  struct SHOWN {
    const char* text;
    SDL_Color colour;
    bool shown;
  };
  const SHOWN lines[] = {
      {"Player 1: key / pad", GOLD, true},
      {"Up", PANEL, true},  // chosen first, on a band of gold
      {"Keypad Enter / stick", GOLD, true},
      {"; / stick", GOLD, true},
      {"Right Ctrl / button 0", GOLD, true},
      {"W / stick", GOLD, true},
      {"G / no button", GOLD, true},
      {"G / stick", GOLD, false},
      {"); / stick", GOLD, false},
      {"Defaults", GOLD, true},
  };
  for (const SHOWN& line : lines) {
    EXPECT_EQ(find_text(frame, list, line.text, line.colour).first >= 0, line.shown) << line.text;
  }
  // The keys line near y = 400, centred, naming Left and Right.
  const std::string keys =
      "Up, Down ~ choose     Left, Right ~ change     Enter ~ set     Escape ~ back";
  const auto at = find_text(frame, list, keys, GOLD);
  EXPECT_EQ(at.first, (640 - text_width(list, keys)) / 2);
  EXPECT_EQ(at.second, 400);
  // Nothing of the beach from the list's first line to the keys.
  const auto top = find_text(frame, list, "Player 1: key / pad", GOLD);
  int beach = 0;
  for (int y = top.second; y < at.second + text_height(list, keys); ++y) {
    for (int x = top.first; x < 640 - top.first; ++x) {
      Uint8 r, g, b;
      harness::pixel_rgb(frame, x, y, &r, &g, &b);
      const bool panel = r == PANEL.r && g == PANEL.g && b == PANEL.b;
      const bool gold = r == GOLD.r && g == GOLD.g && b == GOLD.b;
      if (!panel && !gold) ++beach;
    }
  }
  EXPECT_EQ(beach, 0);
  SDL_FreeSurface(frame);
}

// The Language line beside Defaults: Enter steps through the languages,
// each named in its own letters and face, then back to Automatic, which is
// English when the system names no language the game speaks; Defaults puts
// back everything but the language the player reads the screen in.
TEST_F(SETTINGS_TEST, TheLanguageLineNamesEachInItsOwnLettersAndDefaultsKeepIt) {
  setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  for (const char* v : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(v);
  setenv("LANG", "nl_NL.UTF-8", 1);
  harness::capture_frames(true);
  SDL_Surface* japanese = nullptr;
  SDL_Surface* automatic = nullptr;
  std::string after_defaults = "?";
  int at = harness::flips() + 1;
  for (int line = 0; line < LINE_DEFAULTS; ++line) harness::press_after_flip(at++, SDLK_DOWN);
  harness::press_after_flip(at++, SDLK_RIGHT);
  // English, Deutsch, Français, Español, Italiano, Português (Brasil),
  // Polski, Русский, Українська, 日本語.
  for (int i = 0; i < 10; ++i) harness::press_after_flip(at++, SDLK_RETURN);
  harness::after_flip(at, [&] { japanese = harness::last_frame(); });
  harness::press_after_flip(at++, SDLK_UP);  // Defaults, the line above
  harness::press_after_flip(at++, SDLK_RETURN);
  harness::press_after_flip(at++, SDLK_RETURN);  // confirmed
  harness::after_flip(at, [&] { after_defaults = current_settings().language; });
  harness::press_after_flip(at++, SDLK_RIGHT);
  harness::press_after_flip(at++, SDLK_RETURN);  // 简体中文
  harness::press_after_flip(at++, SDLK_RETURN);  // Automatic
  harness::after_flip(at, [&] { automatic = harness::last_frame(); });
  harness::press_after_flip(at++, SDLK_ESCAPE);
  settings_screen(game);
  unsetenv("LANG");
  unsetenv("XDG_CONFIG_HOME");
  ASSERT_NE(japanese, nullptr);
  ASSERT_NE(automatic, nullptr);
  harness::save_png(japanese, harness::frame_file("settings-language.png"));
  EXPECT_GE(find_text(japanese, face_of_language(FACE::LIST, "ja"), "日本語", PANEL, -1).first, 0)
      << "the chosen language's name, in its own face";
  EXPECT_EQ(after_defaults, "ja");
  EXPECT_EQ(current_settings().language, "");
  EXPECT_EQ(language_in_use(), "");
  EXPECT_GE(find_text(automatic, face(FACE::LIST), "Automatic", PANEL).first, 0);
  SDL_FreeSurface(japanese);
  SDL_FreeSurface(automatic);
}

// Keys by the names on their keycaps; the file reads back every name it
// writes, and the semicolon SDL once called ");".
TEST(KEY_NAMES, KeycapsAndEveryNameTheFileWritesReadsBack) {
  const struct {
    SDLKey key;
    const char* cap;
  } caps[] = {{SDLK_RETURN, "Enter"},
              {SDLK_KP_ENTER, "Keypad Enter"},
              {SDLK_SEMICOLON, ";"},
              {SDLK_RCTRL, "Right Ctrl"},
              {SDLK_w, "W"},
              {SDLK_KP1, "Keypad 1"},
              {SDLK_PAGEUP, "Page Up"},
              {SDLK_F11, "F11"},
              {SDLK_LALT, "Left Alt"},
              {SDLK_CAPSLOCK, "Caps Lock"},
              {SDLK_PRINT, "Print Screen"},
              {SDLK_SCROLLOCK, "Scroll Lock"},
              {SDLK_RSUPER, "Right Super"}};
  for (const auto& c : caps) EXPECT_EQ(keycap(c.key), c.cap) << key_name(c.key);
  // The page's key list starts each row with a capital, in every alphabet.
  const struct {
    const char *text, *capital;
  } firsts[] = {{"arrow keys", "Arrow keys"},
                {"стрелки", "Стрелки"},
                {"єдиний", "Єдиний"},
                {"ґанок", "Ґанок"},
                {"élan", "Élan"},
                {"łódź", "Łódź"},
                {"ńa", "Ńa"},
                {"źle", "Źle"},
                {"ąb", "Ąb"},
                {"Ś", "Ś"},
                {"矢印キー", "矢印キー"},
                {"", ""},
                {"\xc3", "\xc3"}};
  for (const auto& f : firsts) EXPECT_EQ(first_capital(f.text), f.capital) << f.text;
  int named = 0;
  for (int k = SDLK_FIRST + 1; k < SDLK_LAST; ++k) {
    const SDLKey key = static_cast<SDLKey>(k);
    if (key_name(key) == key_name(SDLK_UNKNOWN)) continue;
    ++named;
    EXPECT_EQ(key_named(key_name(key)), key) << key_name(key);
  }
  EXPECT_GT(named, 100);
  std::vector<std::string> problems;
  SETTINGS s = settings_from_text("p1.strike = );\n", problems);
  EXPECT_EQ(s.keys[P1_STRIKE], SDLK_SEMICOLON);
  EXPECT_TRUE(problems.empty());
  EXPECT_NE(settings_text(s).find("p1.strike = ;\n"), std::string::npos) << settings_text(s);
}
