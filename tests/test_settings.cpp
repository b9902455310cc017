// The controls table and the player's settings: changed keys and buttons
// reach every place that reads them, clashes are refused, a settings file
// with bad lines keeps its good ones, and a slowed-down game keeps the rules,
// the score and the records as they were.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

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

#include "minigames/fight_rules.h"
#include "minigames/mini1.h"
#include "minigames/mini2.h"
#include "minigames/mini3.h"
#include "platform/events.h"
#include "platform/gamepad.h"
#include "platform/options.h"
#include "play_fixture.h"
#include "settings.h"
#include "settings_screen.h"

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
  EXPECT_EQ(said, "brinegrab: cannot save the settings in " + blocked +
                      "/brinegrab/settings.conf: Not a directory\n");
  const std::string message = "These settings could not be saved for next time";
  TTF_Font* small = TTF_OpenFont("text.ttf", 24);
  ASSERT_NE(small, nullptr);
  int w = 0, h = 0;
  TTF_SizeText(small, message.c_str(), &w, &h);
  SDL_Surface* frame = harness::last_frame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(ink_missing(frame,
                        [&](SDL_Surface* s) {
                          put_text(s, small, message, game.textcolor, (640 - w) / 2, 402);
                        }),
            0)
      << "the message, centred on the screen's message line";
  SDL_FreeSurface(frame);
  TTF_CloseFont(small);
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

  // The file as the game reads it: each problem said once on stderr.
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
  EXPECT_EQ(lines, 7) << said;
  EXPECT_NE(said.find("no such key"), std::string::npos) << said;
  EXPECT_EQ(current_settings(), s);

  // What the game writes, it reads back the same, and says nothing.
  problems.clear();
  EXPECT_EQ(settings_from_text(settings_text(s), problems), s);
  EXPECT_TRUE(problems.empty());
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
    const std::string sdl = key_name(c.key), shown = c.shown;
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
      std::string pattern = control(action).shown;
      pattern = "\\b" + std::regex_replace(pattern, std::regex("[ ,+]+"), "[\\s,+]*") + "\\b";
      EXPECT_TRUE(std::regex_search(plain, std::regex(pattern, std::regex::icase)))
          << doc.name << " does not name " << control(action).shown << " (" << control(action).name
          << ")";
    }
  }
}

// The platform layer sits at the bottom: it includes its own headers and
// the libraries', never the game's.
TEST(PLATFORM_LAYER, IncludesNothingOfTheGame) {
  const std::string platform = std::string(BRINEGRAB_SOURCE_DIR) + "/src/platform";
  const std::regex own_include("^#include \"([^\"]*)\"");
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(platform)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    ++files;
    std::istringstream text(harness::file_text(entry.path().string()));
    std::smatch include;
    for (std::string line; std::getline(text, line);) {
      if (!std::regex_search(line, include, own_include)) continue;
      EXPECT_EQ(include[1].str().rfind("platform/", 0), 0u)
          << entry.path().filename() << " includes " << include[1];
    }
  }
  EXPECT_GT(files, 20);
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
