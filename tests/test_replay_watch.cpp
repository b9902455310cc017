// Recording, keeping and watching: a game played is kept beside the records
// (and as the best of its mode when it beats the record), watching it shows
// the same game and leaves the run exactly as it was, a file that cannot be
// written costs one line, and a replay whose play goes another way says so.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "attract_mode.h"
#include "game_fixture.h"
#include "game_over.h"
#include "game_setup.h"
#include "music.h"
#include "platform/time_scale.h"
#include "play_loop.h"
#include "random.h"
#include "records.h"
#include "replay_session.h"
#include "replay_state.h"
#include "replay_watch.h"
#include "screens.h"
#include "settings.h"

namespace {

class REPLAY_TEST : public GAME_TEST {
 protected:
  // One solo game from where the run stands: the pirate walks right, one
  // frame runs late (it scores nothing), and Escape ends the game after the
  // given number of frames.
  // Returns whether the records were saved.
  bool play_one(int frames, bool multi = false) {
    const REPLAY_START begin = begin_game(multi);
    // The next frame's second look at the clock (its start is the first)
    // finds 50 ms gone.
    harness::after_flip(30, [] { harness::stall_at_ticks_call(2, 50); });
    harness::push_after_flip(2, harness::key_down(SDLK_RIGHT));
    harness::push_after_flip(40, harness::key_up(SDLK_RIGHT));
    harness::push_after_flip(41, harness::key_down(SDLK_DOWN));
    harness::press_after_flip(frames, SDLK_ESCAPE);
    const bool saved = play_recorded(game, begin);
    harness::reset();
    quit = false;
    return saved;
  }

  // A new game from where the run stands, its start noted for recording.
  REPLAY_START begin_game(bool multi = false) {
    harness::reset();
    quit = false;
    game.score = 0;
    const REPLAY_START begin = replay_start(game);
    game.multi = multi;
    prepare_before_mode(game);
    prepare_after_mode(game);
    return begin;
  }

  static RECORDED_GAME read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    RECORDED_GAME r;
    std::string error;
    EXPECT_TRUE(parse_replay(bytes, r, error)) << path << ": " << error;
    return r;
  }

  static bool exists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0;
  }
};

}  // namespace

TEST_F(REPLAY_TEST, EachGameIsKeptAsTheLastAndAsTheBestOfItsModeWhenItBeatsTheRecord) {
  struct CASE {
    const char* records;  // before the game
    bool multi;
    bool best_solo, best_multi;
  };
  const CASE cases[] = {
      {"0 0", false, true, false},
      {"0 0", true, false, true},
      {"2000000000 0", false, false, false},
      {"0 2000000000", true, false, false},
  };
  for (const CASE& c : cases) {
    std::remove("best-solo.replay");
    std::remove("best-multi.replay");
    std::ofstream(RECORDS_FILE) << c.records;
    seed_rand(11);
    play_one(60, c.multi);
    const RECORDED_GAME last = read_file("last.replay");
    EXPECT_EQ(last.score, game.score) << c.records;
    EXPECT_EQ(last.multi, c.multi) << c.records;
    EXPECT_EQ(last.seed, 11u);
    EXPECT_EQ(exists("best-solo.replay"), c.best_solo) << c.records << " multi " << c.multi;
    EXPECT_EQ(exists("best-multi.replay"), c.best_multi) << c.records << " multi " << c.multi;
  }
}

TEST_F(REPLAY_TEST, ABestReplayIsKeptOnlyWithTheRecordItPlayed) {
  namespace fs = std::filesystem;
  struct CASE {
    const char* name;
    std::function<void()> records;  // records.dat before the game
    bool saved;                     // the record, and with it the best replay
  };
  const CASE cases[] = {
      {"beaten", [] { std::ofstream(RECORDS_FILE) << "0 9"; }, true},
      {"a directory", [] { fs::create_directory(RECORDS_FILE); }, false},
      {"a pipe", [] { mkfifo(RECORDS_FILE, 0644); }, false},
  };
  for (const CASE& c : cases) {
    fs::remove_all(RECORDS_FILE);
    std::ofstream("best-solo.replay") << "the game before";
    c.records();
    seed_rand(11);
    testing::internal::CaptureStderr();
    EXPECT_EQ(play_one(60), c.saved) << c.name;
    testing::internal::GetCapturedStderr();
    ASSERT_GT(game.score, 0);
    EXPECT_EQ(read_file("last.replay").score, game.score) << c.name;
    if (c.saved) {
      EXPECT_EQ(harness::file_text(RECORDS_FILE), std::to_string(game.score) + " 9") << c.name;
      EXPECT_EQ(read_file("best-solo.replay").score, game.score) << c.name;
    } else {
      EXPECT_EQ(harness::file_text("best-solo.replay"), "the game before") << c.name;
    }
  }
  fs::remove_all(RECORDS_FILE);
}

TEST_F(REPLAY_TEST, AReplayThatCannotBeWrittenCostsOneLineAndNothingElse) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(keep_file("no-such-directory/last.replay", "bytes"));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("brinegrab: cannot keep the replay 'no-such-directory/last.replay': ", 0),
            0u)
      << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1);
  // Replacing works, and leaves no temporary file beside it.
  EXPECT_TRUE(keep_file("x.replay", "one"));
  EXPECT_TRUE(keep_file("x.replay", "two"));
  EXPECT_EQ(harness::file_text("x.replay"), "two");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    files += entry.path().filename().string().rfind("x.replay", 0) == 0 ? 1 : 0;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(REPLAY_TEST, WatchingAGameShowsItAgainAndLeavesTheRunAsItWas) {
  // The same two games twice from the same seed; the second time the first
  // game is watched in between. The second game and the numbers drawn
  // after it must not tell the difference.
  int scores[2] = {};
  Uint32 states[2] = {};
  int next_draws[2][4] = {};
  for (int watched = 0; watched < 2; ++watched) {
    shut_down(game);
    seed_rand(99);
    ASSERT_TRUE(start_up(game));
    play_one(120);
    const int first_score = game.score;
    const std::vector<bool>& on_time = last_replay().on_time;
    EXPECT_EQ(std::count(on_time.begin(), on_time.end(), false), 1) << "the late frame";
    if (watched == 1) {
      harness::capture_frames(true);
      const int flips_before = harness::flips();
      REPLAY_END end;
      EXPECT_TRUE(watch_replay(game, last_replay(), &end));
      EXPECT_EQ(end.score, first_score);
      EXPECT_GE(harness::flips() - flips_before, 120);
      // The last frame watched: held, with the band saying the replay has ended.
      SDL_Surface* frame = harness::last_frame();
      TTF_Font* small = TTF_OpenFont("text.ttf", 20);
      const std::string ended = "The replay has ended";
      EXPECT_EQ(ink_missing(frame,
                            [&](SDL_Surface* s) {
                              put_text(s, small, ended, SDL_Color{200, 150, 0, 0},
                                       centred_x(small, ended),
                                       450 + (30 - text_height(small, ended)) / 2);
                            }),
                0);
      TTF_CloseFont(small);
      SDL_FreeSurface(frame);
      harness::capture_frames(false);
      EXPECT_EQ(game.score, first_score);
    }
    play_one(200);
    scores[watched] = game.score;
    states[watched] = state_hash(game);
    for (int& n : next_draws[watched]) n = game_rand();
  }
  EXPECT_EQ(scores[0], scores[1]);
  EXPECT_EQ(states[0], states[1]);
  EXPECT_EQ(std::vector<int>(next_draws[0], next_draws[0] + 4),
            std::vector<int>(next_draws[1], next_draws[1] + 4));
}

TEST_F(REPLAY_TEST, RecordingDrawsNoRandomNumberOfItsOwn) {
  // The game's draws, recorded or not, follow the same stream: a game played
  // through play_loop alone and one recorded end in the same state.
  Uint32 states[2] = {};
  for (int recorded = 0; recorded < 2; ++recorded) {
    shut_down(game);
    seed_rand(5);
    ASSERT_TRUE(start_up(game));
    const REPLAY_START begin = begin_game();
    harness::push_after_flip(3, harness::key_down(SDLK_LEFT));
    harness::press_after_flip(150, SDLK_ESCAPE);
    if (recorded == 1) {
      play_recorded(game, begin);
    } else {
      play_loop(game);
    }
    states[recorded] = state_hash(game);
  }
  EXPECT_EQ(states[0], states[1]);
}

TEST_F(REPLAY_TEST, AReplayThatGoesAnotherWaySaysSoAtItsEnd) {
  seed_rand(3);
  play_one(80);
  struct CASE {
    const char* what;
    void (*change)(RECORDED_GAME&);
  };
  const CASE cases[] = {
      {"another score", [](RECORDED_GAME& r) { r.score += 1; }},
      {"cut short", [](RECORDED_GAME& r) { r.drains = 20; }},
      {"another stream", [](RECORDED_GAME& r) { r.draws += 1; }},
  };
  for (const CASE& c : cases) {
    RECORDED_GAME r = last_replay();
    c.change(r);
    for (REPLAY_EVENT& e : r.events) e.drain = std::min(e.drain, r.drains);
    harness::capture_frames(true);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(watch_replay(game, r)) << c.what;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("diverged"), std::string::npos) << c.what << ": " << said;
    if (r.score == last_replay().score + 1) {
      // The last frame says it too: the play scored what the game did.
      SDL_Surface* frame = harness::last_frame();
      TTF_Font* small = TTF_OpenFont("text.ttf", 20);
      const std::string text = "This replay no longer matches its game: it scored " +
                               std::to_string(last_replay().score) + ", the game " +
                               std::to_string(r.score);
      int w = 0, h = 0;
      TTF_SizeText(small, text.c_str(), &w, &h);
      EXPECT_EQ(
          ink_missing(frame,
                      [&](SDL_Surface* s) {
                        draw_text(s, small, text, SDL_Color{100, 50, 10, 0}, (640 - w) / 2, 310);
                      }),
          0);
      TTF_CloseFont(small);
      SDL_FreeSurface(frame);
    }
    harness::capture_frames(false);
    harness::reset();
  }
}

TEST_F(REPLAY_TEST, RReplaysTheGameJustPlayedAndComesBackToTheGameOverScreen) {
  seed_rand(8);
  play_one(100);
  const int score = game.score;
  harness::reset();
  quit = false;
  harness::press_after_flip(3, SDLK_r);
  // Back on the game-over screen after the game's 100 frames and its closing
  // Escape: Enter leaves it.
  harness::press_after_flip(300, SDLK_RETURN);
  game_over_screen(game);
  EXPECT_EQ(game.score, score);
  EXPECT_TRUE(restart);
  // The game's tune while it was watched, the end tune at its Escape, and
  // the game-over screen's tune once back.
  const std::vector<std::string>& music = harness::music_files();
  ASSERT_GE(music.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(music.end() - 3, music.end()),
            (std::vector<std::string>{"sfx/game.wav", "sfx/end.wav", "sfx/end.wav"}));
}

TEST_F(REPLAY_TEST,
       TheAttractModePlaysTheBestGameAfterThirtyIdleSecondsAndAnyKeyReturnsToTheTitle) {
  std::ofstream(RECORDS_FILE) << "0 0";
  seed_rand(21);
  play_one(300);
  ASSERT_TRUE(exists("best-solo.replay"));
  for (bool attract : {false, true}) {
    harness::reset();
    reset_game_globals();
    use_attract_mode(attract);
    // The splash, a key pressed on the title at frame 100 and let go 24 s
    // later, 30 s after the press (not the release) the best game in attract
    // mode, then a key while it plays, then Escape on the title, which ends
    // the run.
    harness::after_flip(100, [] { harness::tap_down(SDLK_x); });
    harness::after_flip(700, [] { harness::tap_up(SDLK_x); });
    harness::press_after_flip(900, SDLK_y);
    harness::press_after_flip(1000, SDLK_ESCAPE);
    run(game);
    use_attract_mode(false);
    const std::vector<std::string>& music = harness::music_files();
    const bool played = std::find(music.begin(), music.end(), "sfx/game.wav") != music.end();
    EXPECT_EQ(played, attract) << "30 s after the press, not after the release";
    if (attract) {
      EXPECT_EQ(music.back(), "sfx/open.wav") << "the title's tune again";
    }
  }
}

// A best replay that cannot be shown (a pipe, junk) holds up nothing, is said
// once however often the title idles, and is shown once it is mended.
TEST_F(REPLAY_TEST, TheAttractModeSaysOnceWhatItCannotShowAndShowsItOnceMended) {
  std::ofstream(RECORDS_FILE) << "0 0";
  seed_rand(21);
  play_one(100);
  const std::string good = harness::file_text("best-solo.replay");
  std::filesystem::remove("best-solo.replay");
  ASSERT_EQ(mkfifo("best-solo.replay", 0644), 0);
  std::ofstream("best-multi.replay") << std::string(100000, '\n');
  struct ROUND {
    bool mended;  // the pipe replaced by the game it held
    bool played;
    int solo_said, multi_said;  // times each file is named on stderr
  };
  const ROUND rounds[] = {{false, false, 1, 1}, {true, true, 0, 0}};
  use_attract_mode(true);
  for (const ROUND& r : rounds) {
    if (r.mended) {
      std::filesystem::remove("best-solo.replay");
      std::ofstream("best-solo.replay", std::ios::binary) << good;
    }
    harness::reset();
    reset_game_globals();
    harness::press_after_flip(800, SDLK_x);
    harness::press_after_flip(900, SDLK_ESCAPE);
    testing::internal::CaptureStderr();
    run(game);
    const std::string said = testing::internal::GetCapturedStderr();
    const auto times = [&](const std::string& name) {
      int n = 0;
      for (size_t at = said.find(name); at != std::string::npos; at = said.find(name, at + 1)) ++n;
      return n;
    };
    EXPECT_EQ(times("'best-solo.replay'"), r.solo_said) << said;
    EXPECT_EQ(times("'best-multi.replay'"), r.multi_said) << said;
    const std::vector<std::string>& music = harness::music_files();
    EXPECT_EQ(std::find(music.begin(), music.end(), "sfx/game.wav") != music.end(), r.played);
  }
  use_attract_mode(false);
}

TEST_F(REPLAY_TEST, AStartingStateOutOfItsRangesIsRefusedBeforeAnythingIsDrawn) {
  seed_rand(4);
  play_one(30);
  // Each a place in the carried numbers and a value out of its range.
  const std::pair<size_t, int> cases[] = {{0, 8}, {1, -1}, {9, 15}, {20, 12}, {21, 3}, {78, 2}};
  for (const auto& [place, value] : cases) {
    RECORDED_GAME r = last_replay();
    r.carried[place] = value;
    harness::reset();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(watch_replay(game, r)) << place;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("corrupt"), std::string::npos) << place << ": " << said;
    EXPECT_EQ(harness::flips(), 0) << place;
  }
  RECORDED_GAME shorter = last_replay();
  shorter.carried.pop_back();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(watch_replay(game, shorter));
  testing::internal::GetCapturedStderr();
}

TEST_F(REPLAY_TEST, WhileWatchingRightSpeedsUpLeftGoesBackSpacePausesAndEscapeStops) {
  seed_rand(6);
  play_one(150);
  const RECORDED_GAME game_played = last_replay();
  harness::reset();
  // A pause nothing ends would hold the frames for good.
  harness::set_limits(60000, 200000);
  std::vector<int> scales;
  Uint32 enter_at = 0, next_frame_at = 0;
  harness::on_every_flip([&](int n) {
    if (n == 5 || n == 6 || n == 7 || n == 8) harness::press(SDLK_RIGHT);
    if (n == 20) scales.push_back(time_scale());  // 8x at most
    if (n == 30) harness::press(SDLK_LEFT);
    if (n == 40) scales.push_back(time_scale());
    if (n == 45) {
      // Enter only resumes: while the replay plays it changes nothing.
      harness::press(SDLK_RETURN);
      enter_at = harness::now();
    }
    if (n == 47) next_frame_at = harness::now();
    if (n == 50) {
      // Paused for ten seconds: the virtual clock runs on, the frames do not.
      // Enter goes on as the pause key does.
      harness::press(SDLK_SPACE);
      harness::at_time(harness::now() + 10000, [] { harness::press(SDLK_RETURN); });
    }
  });
  const Uint32 started = harness::now();
  EXPECT_TRUE(watch_replay(game, game_played));
  EXPECT_EQ(scales, (std::vector<int>{8, 1}));
  EXPECT_LT(next_frame_at - enter_at, 1000u) << "Enter paused a replay that played";
  EXPECT_GE(harness::now() - started, 10000u + 150u * 40u);
  EXPECT_EQ(time_scale(), 1);

  // Escape stops it at once: the play ends early, and that is no divergence.
  // Stopped at 8x, the game's waits are its own again afterwards, and the
  // run's mode is the one it had before.
  harness::reset();
  for (int n : {2, 3, 4}) harness::press_after_flip(n, SDLK_RIGHT);
  harness::press_after_flip(10, SDLK_ESCAPE);
  game.multi = !game_played.multi;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(watch_replay(game, game_played));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_LT(harness::flips(), 20);
  EXPECT_EQ(time_scale(), 1) << "stopped at 8x";
  EXPECT_EQ(game.multi, !game_played.multi) << "the run's mode put back";
  game.multi = false;
}

TEST_F(REPLAY_TEST, AGameIsWatchedAtTheSpeedAndWithTheKeysItWasPlayedWith) {
  std::ofstream(RECORDS_FILE) << "0 0";
  SETTINGS slowed;
  slowed.speed = 50;
  slowed.keys[P1_RIGHT] = SDLK_l;
  use_settings(slowed);
  seed_rand(5);
  const REPLAY_START begin = begin_game();
  harness::push_after_flip(2, harness::key_down(SDLK_l));
  harness::push_after_flip(30, harness::key_up(SDLK_l));
  harness::press_after_flip(40, SDLK_ESCAPE);
  play_recorded(game, begin);
  const int score = game.score;
  const Uint32 state = state_hash(game);
  const int walked = game.myPirate->get_x() - 280;
  EXPECT_GT(walked, 0) << "L moved pirate one right";
  EXPECT_FALSE(exists("best-solo.replay")) << "a slowed-down game is never the best";
  const RECORDED_GAME kept = read_file("last.replay");
  EXPECT_EQ(kept.speed, 50);
  EXPECT_EQ(kept.keys[P1_RIGHT], SDLK_l);

  // Watched by a player with the game's own settings.
  use_settings(SETTINGS());
  harness::reset();
  quit = false;
  const Uint32 started = harness::now();
  REPLAY_END end;
  EXPECT_TRUE(watch_replay(game, kept, &end));
  EXPECT_EQ(end.score, score);
  EXPECT_EQ(end.state, state);
  // 40 frames of 80 ms each, at 50%.
  EXPECT_GE(harness::now() - started, 40u * 80u);
  EXPECT_TRUE(current_settings() == SETTINGS()) << "the player's settings are back";
}

// The watcher's band along the bottom (30 px, texts 10 px from the edges,
// centred on its height): the keys and the speed while playing, one pause
// for Space and P alike; the last picture is held until a key or for 3 s.
TEST_F(REPLAY_TEST, TheBandNamesTheKeysShowsTheSpeedAndThePauseAndHoldsTheEnd) {
  seed_rand(12);
  play_one(60);
  const RECORDED_GAME played = last_replay();
  TTF_Font* small = TTF_OpenFont("text.ttf", 20);
  const SDL_Color gold = {200, 150, 0, 0};
  const std::string keys = "Space pause     Right speed up     Left reset speed     Escape stop";
  const int text_y = 450 + (30 - text_height(small, keys)) / 2;
  struct CASE {
    const char* what;
    std::function<void()> script;  // sets frame to the frame to look at
    const char* state;             // at the right
    bool muted = false;            // the muted sign above the band
  };
  SDL_Surface* frame = nullptr;
  auto keep_frame = [&] {
    SDL_FreeSurface(frame);
    frame = harness::last_frame();
  };
  auto paused_by = [&](SDLKey key) {
    return [&, key] {
      harness::after_flip(10, [&, key] {
        harness::press(key);
        harness::at_time(harness::now() + 400, [&, key] {
          keep_frame();
          harness::press(key);
        });
      });
    };
  };
  const CASE cases[] = {
      {"1x", [&] { harness::after_flip(10, keep_frame); }, "Replay   1x"},
      {"8x",
       [&] {
         for (int n : {2, 3, 4, 5}) harness::press_after_flip(n, SDLK_RIGHT);
         harness::after_flip(10, keep_frame);
       },
       "Replay   8x"},
      {"paused by Space", paused_by(SDLK_SPACE), "Paused   1x"},
      {"paused by P", paused_by(SDLK_p), "Paused   1x"},
      {"muted",
       [&] {
         harness::press_after_flip(3, SDLK_m);
         harness::after_flip(10, keep_frame);
         harness::press_after_flip(12, SDLK_m);
       },
       "Replay   1x", true},
  };
  const std::string sign = "Sound off ~ M";
  SDL_Surface* paused_by_space = nullptr;
  for (const CASE& c : cases) {
    harness::reset();
    harness::capture_frames(true);
    c.script();
    EXPECT_TRUE(watch_replay(game, played)) << c.what;
    ASSERT_NE(frame, nullptr) << c.what;
    EXPECT_EQ(ink_missing(frame,
                          [&](SDL_Surface* s) {
                            put_text(s, small, keys, gold, 10, text_y);
                            put_text(s, small, c.state, gold, 630 - text_width(small, c.state),
                                     text_y);
                            // 6 px clear of the band and the right edge, on a
                            // panel 8 px wider and 2 px taller than the text.
                            if (c.muted) {
                              put_text(s, small, sign, gold, 640 - 6 - 8 - text_width(small, sign),
                                       450 - 6 - 2 - text_height(small, sign));
                            }
                          }),
              0)
        << c.what;
    if (std::string(c.what) == "paused by Space") std::swap(paused_by_space, frame);
    if (std::string(c.what) == "paused by P") {
      EXPECT_EQ(harness::differing_pixels(frame, paused_by_space), 0) << "one pause, one look";
    }
    harness::capture_frames(false);
  }
  // The end is held 3 s, or until a key.
  for (const bool key : {false, true}) {
    harness::reset();
    Uint32 last_flip = 0;
    harness::on_every_flip([&](int) {
      last_flip = harness::now();
      if (key) harness::at_time(last_flip + 1000, [] { harness::press(SDLK_x); });
    });
    EXPECT_TRUE(watch_replay(game, played));
    const Uint32 held = harness::now() - last_flip;
    if (key) {
      EXPECT_LE(held, 1000u + 40u);
    } else {
      EXPECT_GE(held, 3000u);
      EXPECT_LE(held, 3000u + 40u);
    }
  }
  SDL_FreeSurface(frame);
  SDL_FreeSurface(paused_by_space);
  TTF_CloseFont(small);
}
