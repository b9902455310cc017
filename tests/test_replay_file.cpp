// The replay file: what is written reads back the same, a five-minute game
// for two stays small, and every damaged, cut or foreign file is refused in
// one line, by the reader and by --replay.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "game.h"
#include "game_fixture.h"
#include "harness.h"
#include "platform/glibc_random.h"
#include "platform/options.h"
#include "replay.h"
#include "replay_files.h"

namespace {

REPLAY_EVENT ev(Uint32 drain, REPLAY_KIND kind, Uint16 key) {
  REPLAY_EVENT e;
  e.drain = drain;
  e.kind = kind;
  e.key = key;
  return e;
}

RECORDED_GAME sample() {
  RECORDED_GAME r;
  r.version = BRINEGRAB_TEST_VERSION;
  r.multi = true;
  r.seed = 4000000000u;
  r.draws = 123456;
  r.keys[P1_LEFT] = SDLK_j;  // a player's changed key
  r.keys[P2_STRIKE] = SDLK_RSHIFT;
  r.carried = {0, -3, 7, 1000};
  r.events = {ev(0, REPLAY_KIND::KEY_DOWN, SDLK_UP), ev(0, REPLAY_KIND::KEY_UP, SDLK_UP),
              ev(2, REPLAY_KIND::QUIT, 0), ev(3, REPLAY_KIND::KEY_DOWN, SDLK_g),
              ev(300, REPLAY_KIND::KEY_DOWN, SDLK_ESCAPE)};
  r.on_time = {false, true, true, false, false, true};
  r.score = 2147483647;
  r.drains = 301;
  r.state = 0xdeadbeef;
  return r;
}

void expect_same(const RECORDED_GAME& a, const RECORDED_GAME& b, const std::string& what) {
  EXPECT_EQ(a.version, b.version) << what;
  EXPECT_EQ(a.format, b.format) << what;
  EXPECT_EQ(a.random, b.random) << what;
  EXPECT_EQ(a.multi, b.multi) << what;
  EXPECT_EQ(a.speed, b.speed) << what;
  EXPECT_EQ(a.seed, b.seed) << what;
  EXPECT_EQ(a.draws, b.draws) << what;
  EXPECT_EQ(a.carried, b.carried) << what;
  EXPECT_EQ(a.events, b.events) << what;
  EXPECT_EQ(a.on_time, b.on_time) << what;
  EXPECT_EQ(a.score, b.score) << what;
  EXPECT_EQ(a.drains, b.drains) << what;
  EXPECT_EQ(a.state, b.state) << what;
  EXPECT_EQ(std::vector<SDLKey>(a.keys, a.keys + PLAYER_ACTIONS),
            std::vector<SDLKey>(b.keys, b.keys + PLAYER_ACTIONS))
      << what;
}

}  // namespace

TEST(ReplayFile, WhatIsWrittenReadsBackTheSame) {
  struct CASE {
    const char* what;
    void (*change)(RECORDED_GAME&);
  };
  const CASE cases[] = {
      {"a sample", [](RECORDED_GAME&) {}},
      {"no events, no frames",
       [](RECORDED_GAME& r) {
         r.events.clear();
         r.on_time.clear();
       }},
      {"every frame late", [](RECORDED_GAME& r) { r.on_time.assign(1000, false); }},
      {"more keys than the table holds",
       [](RECORDED_GAME& r) {
         r.events.clear();
         for (Uint16 k = 0; k < 40; ++k) r.events.push_back(ev(k * 7u, REPLAY_KIND::KEY_UP, k));
         r.events.push_back(ev(300, REPLAY_KIND::KEY_DOWN, SDLK_LAST - 1));
       }},
      {"a long wait between events",
       [](RECORDED_GAME& r) {
         r.drains = 5000000;
         r.events.push_back(ev(4999999, REPLAY_KIND::KEY_DOWN, SDLK_a));
       }},
      {"an event on the last drain", [](RECORDED_GAME& r) { r.drains = 300; }},
      // Kept as the one past the last key, as the recorder keeps it.
      {"a key SDL has no name for",
       [](RECORDED_GAME& r) { r.events.push_back(ev(300, REPLAY_KIND::KEY_UP, SDLK_LAST)); }},
  };
  for (const CASE& c : cases) {
    RECORDED_GAME r = sample();
    c.change(r);
    RECORDED_GAME back;
    std::string error;
    ASSERT_TRUE(parse_replay(replay_text(r), back, error)) << c.what << ": " << error;
    expect_same(r, back, c.what);
  }
}

// Numbers too big for an event's byte, and the runs of frames, are
// little-endian base-128 varints: seven bits a byte, the high bit set on
// every byte but the last.
TEST(ReplayFile, LongWaitsAndRunsAreWrittenAsBase128Varints) {
  struct CASE {
    Uint32 drain;    // of the one event, a key down of the only key in the table
    size_t on_time;  // frames, all on time
    std::string data;
  };
  // The event's byte: kind 0, place 0, the drains before it (3: they follow).
  const CASE cases[] = {
      {0, 0, std::string("\x00\x00", 2)},
      {3, 127, std::string("\x03\x03\x7f")},
      {127, 128, std::string("\x03\x7f\x80\x01")},
      {128, 16383, std::string("\x03\x80\x01\xff\x7f")},
      {16384, 16384, std::string("\x03\x80\x80\x01\x80\x80\x01")},
  };
  for (const CASE& c : cases) {
    RECORDED_GAME r = sample();
    r.events = {ev(c.drain, REPLAY_KIND::KEY_DOWN, SDLK_UP)};
    r.drains = c.drain;
    r.on_time.assign(c.on_time, true);
    const std::string bytes = replay_text(r);
    const size_t data = bytes.find("\ndata\n") + 6;
    EXPECT_EQ(bytes.substr(data), c.data) << c.drain << ", " << c.on_time;
    RECORDED_GAME back;
    std::string error;
    ASSERT_TRUE(parse_replay(bytes, back, error)) << c.drain << ": " << error;
    expect_same(r, back, std::to_string(c.drain));
  }
}

TEST(ReplayFile, AFiveMinuteGameForTwoBusyPlayersTakesAtMostSixteenKilobytes) {
  // Each player presses and lets go of a key four times a second, for 7500
  // frames of 40 ms, with a frame late now and then.
  RECORDED_GAME r = sample();
  r.events.clear();
  r.drains = 7500;
  std::mt19937 rng(5);
  const SDLKey keys[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RCTRL,
                         SDLK_w,  SDLK_s,    SDLK_a,    SDLK_d,     SDLK_g};
  for (Uint32 frame = 0; frame < 7500; ++frame) {
    for (int player = 0; player < 2; ++player) {
      if (rng() % 25 >= 4) continue;  // 4 of 25 frames: four a second
      const Uint16 key = static_cast<Uint16>(keys[player * 5 + rng() % 5]);
      r.events.push_back(ev(frame, REPLAY_KIND::KEY_DOWN, key));
      r.events.push_back(ev(frame + (frame < 7499 ? 1 : 0), REPLAY_KIND::KEY_UP, key));
    }
  }
  r.on_time.clear();
  for (int i = 0; i < 7500; ++i) r.on_time.push_back(rng() % 50 != 0);
  EXPECT_GE(r.events.size(), 4500u);
  const size_t bytes = replay_text(r).size();
  RecordProperty("bytes", static_cast<int>(bytes));
  EXPECT_LE(bytes, 16u * 1024);
}

TEST(ReplayFile, EveryCutOfAWholeFileIsRefusedInOneLine) {
  const std::string whole = replay_text(sample());
  for (size_t length = 0; length < whole.size(); ++length) {
    RECORDED_GAME r;
    std::string error;
    EXPECT_FALSE(parse_replay(whole.substr(0, length), r, error)) << "cut at " << length;
    EXPECT_FALSE(error.empty()) << "cut at " << length;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "cut at " << length;
  }
}

TEST(ReplayFile, DamagedOrHostileFilesAreRefused) {
  const std::string whole = replay_text(sample());
  const size_t data = whole.find("\ndata\n") + 6;
  const auto with = [&](const std::string& from, const std::string& to) {
    std::string s = whole;
    const size_t at = s.find(from);
    return at == std::string::npos ? std::string("no such text: ") + from
                                   : s.replace(at, from.size(), to);
  };
  struct CASE {
    const char* what;
    std::string bytes;
  };
  const CASE cases[] = {
      {"empty", ""},
      {"another file", "300 400\n"},
      {"no data line", "Brinegrab replay\nversion = 1.0.0\nformat = 1\n"},
      {"a count of events beyond the data", with("events = 5", "events = 4000000")},
      {"frames beyond the verdicts", with("frames = 6", "frames = 7")},
      {"an event after the last drain", with("drains = 301", "drains = 299")},
      {"a mode of neither kind", with("mode = multi", "mode = three")},
      {"a random stream that is no name", with("random = glibc", "random = \x1b[2J")},
      {"a speed out of range", with("speed = 100", "speed = 1000")},
      {"a seed out of range", with("seed = 4000000000", "seed = 4294967296")},
      {"a number with trailing text", with("draws = 123456", "draws = 123456x")},
      {"more draws than days of play make", with("draws = 123456", "draws = 4000000000")},
      {"a negative score", with("score = 2147483647", "score = -1")},
      {"a key past the last", with("keys =", "keys = 400")},
      {"a player's key no key is called", with("key.p1.left = j", "key.p1.left = jj")},
      {"bytes after the end", whole + "x"},
      {"an event of an unknown kind", whole.substr(0, data) + "\xff" + whole.substr(data + 1)},
      {"a line too long", std::string("Brinegrab replay\n") + std::string(5000, 'x') + "\ndata\n"},
      {"an endless number", with("data\n", "data\n\x3f\xff\xff\xff\xff\xff\xff\xff")},
      // Far more lines than any header holds: refused before they cost memory.
      {"ten thousand blank header lines", with("\nversion", std::string(10000, '\n') + "version")},
  };
  for (const CASE& c : cases) {
    RECORDED_GAME r;
    std::string error;
    EXPECT_FALSE(parse_replay(c.bytes, r, error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    EXPECT_FALSE(harness::has_control_bytes(error)) << c.what << ": " << error;
  }
}

TEST(ReplayFile, AnotherVersionOrFormatSaysWhichMadeIt) {
  struct CASE {
    const char* version;
    int format;
    const char* random;  // nullptr: a file that names no stream
    bool fits;
    std::string said;
  };
  const std::string here = BRINEGRAB_TEST_VERSION;
  const CASE cases[] = {
      {BRINEGRAB_TEST_VERSION, 1, nullptr, true, ""},
      {BRINEGRAB_TEST_VERSION, 1, "glibc", true, ""},
      {"1.1.0", 1, nullptr, false, "made by Brinegrab 1.1.0; this game is Brinegrab " + here},
      {BRINEGRAB_TEST_VERSION, 2, nullptr, false,
       "made by Brinegrab " + here + " (replay format 2); this game is Brinegrab " + here +
           " (replay format 1)"},
      // musl's rand() (the browser's first builds') draws other numbers from the same seed.
      {BRINEGRAB_TEST_VERSION, 1, "musl", false,
       "made by a game drawing from musl, whose random numbers differ from this desktop's"},
  };
  for (const CASE& c : cases) {
    // Written by hand: a later format's data is not this one's.
    const std::string bytes = std::string("Brinegrab replay\nversion = ") + c.version +
                              "\nformat = " + std::to_string(c.format) +
                              (c.random ? std::string("\nrandom = ") + c.random : "") +
                              "\nnext = a field this version does not know\n"
                              "seed = 1\ndraws = 0\nevents = 0\nframes = 0\ndata\n" +
                              std::string(1, '\0');
    RECORDED_GAME r;
    std::string error;
    ASSERT_TRUE(parse_replay(bytes, r, error)) << c.version << ": " << error;
    EXPECT_EQ(replay_fits_build(r, error), c.fits)
        << c.version << " " << (c.random ? c.random : "");
    if (!c.fits) {
      EXPECT_EQ(error, c.said);
    }
  }
}

// Pipes and devices are never opened blocking, no file is read past 16 MB,
// and neither the file's name nor its bytes reach the terminal raw.
TEST(ReplayFile, WatchingABadFileEndsAtOnceWithStatusOneAndOneLine) {
  const harness::GAME_DIR_COPY dir;
  std::ofstream("other.replay") << "Brinegrab replay\nversion = 0.9.0\nformat = 1\ndata\n";
  std::ofstream("cut.replay") << replay_text(sample()).substr(0, 40);
  RECORDED_GAME browser = sample();
  browser.random = "musl";
  std::ofstream("browser.replay") << replay_text(browser);
  ASSERT_EQ(mkfifo("pipe.replay", 0644), 0);
  std::filesystem::create_symlink("/dev/zero", "zero.replay");
  std::ofstream("blank.replay") << std::string(16 << 20, '\n');
  std::ofstream("huge.replay") << std::string((16 << 20) + 1, '\n');
  std::string header = replay_text(sample());
  header.replace(header.find("random = "), 9, "random = \x1b[2J\x07");
  std::ofstream("bell.replay") << header;
  struct CASE {
    const char* file;
    const char* said;
    // The window's words, for a kept game: the desktop entry's actions have
    // no terminal. A key closes the window, or 5 s.
    const char* shown = nullptr;
    const char* reason = nullptr;
    const char* kept = nullptr;  // put in last.replay first
    bool key = false;
  };
  const CASE cases[] = {
      {"other.replay", "cannot watch 'other.replay': made by Brinegrab 0.9.0; this game is"},
      {"cut.replay", "cannot watch 'cut.replay': not a Brinegrab replay, or cut short"},
      {"browser.replay", "cannot watch 'browser.replay': made by a game drawing from musl"},
      {"missing.replay", "cannot watch 'missing.replay': No such file or directory"},
      {"pipe.replay", "cannot watch 'pipe.replay': not a regular file"},
      {"zero.replay", "cannot watch 'zero.replay': not a regular file"},
      {"blank.replay", "cannot watch 'blank.replay': not a Brinegrab replay"},
      {"huge.replay", "cannot watch 'huge.replay': too large for a replay"},
      {"bell.replay", "header: 'random = \\x1b[2J\\x07glibc'"},
      {"\x1b]0;T\x07\x01.replay", "cannot watch '\\x1b]0;T\\x07\\x01.replay': No such file"},
      // The games kept beside the records, none of them there yet.
      {"last", "cannot watch 'last.replay': No such file or directory",
       "No game has been kept to watch yet"},
      {"best",
       "cannot watch the best game: 'best-solo.replay': No such file or directory; "
       "'best-multi.replay': No such file or directory",
       "No game has been kept to watch yet", nullptr, nullptr, true},
      {"last", "cannot watch 'last.replay': made by Brinegrab 0.9.0",
       "The last game kept cannot be watched",
       "made by Brinegrab 0.9.0, this is " BRINEGRAB_TEST_VERSION,
       "Brinegrab replay\nversion = 0.9.0\nformat = 1\ndata\n"},
  };
  for (const CASE& c : cases) {
    std::vector<std::string> args = {"brinegrab", "--replay", c.file};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    std::remove("last.replay");
    if (c.kept != nullptr) std::ofstream("last.replay") << c.kept;
    harness::reset();
    harness::capture_frames(true);
    if (c.key) harness::at_time(1000, [] { harness::press(SDLK_SPACE); });
    testing::internal::CaptureStderr();
    const int status = SDL_main(3, argv.data());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1) << c.file;
    SDL_Surface* frame = harness::last_frame();
    if (c.shown != nullptr) {
      ASSERT_NE(frame, nullptr) << c.file << ": no window";
      EXPECT_EQ(harness::now() / 1000, c.key ? 1u : 5u) << c.file;
      TTF_Init();
      TTF_Font* mark = TTF_OpenFont("text.ttf", 20);
      EXPECT_EQ(ink_missing(frame,
                            [&](SDL_Surface* s) {
                              put_text(s, mark, c.shown, SDL_Color{100, 50, 10, 0},
                                       centred_x(mark, c.shown), 310);
                              if (c.reason == nullptr) return;
                              put_text(s, mark, c.reason, SDL_Color{100, 50, 10, 0},
                                       centred_x(mark, c.reason),
                                       310 + text_height(mark, c.shown) + 8);
                            }),
                0)
          << c.file;
      TTF_CloseFont(mark);
      TTF_Quit();
    } else {
      EXPECT_EQ(frame, nullptr) << c.file << ": a window for a file named on a terminal";
    }
    SDL_FreeSurface(frame);
    harness::capture_frames(false);
    EXPECT_NE(said.find(c.said), std::string::npos) << c.file << ": " << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_FALSE(harness::has_control_bytes(said)) << said;
  }
}

TEST(ReplayFile, ReplayBestWatchesTheHigherScoringOfTheTwoBestGamesKept) {
  const harness::GAME_DIR_COPY dir;
  struct CASE {
    int solo, multi;  // -1: no such file
    int watched;
  };
  const CASE cases[] = {{100, 200, 200}, {300, 200, 300}, {100, -1, 100}, {-1, 50, 50}};
  for (const CASE& c : cases) {
    std::remove("best-solo.replay");
    std::remove("best-multi.replay");
    for (const auto& [score, file] :
         {std::pair{c.solo, "best-solo.replay"}, std::pair{c.multi, "best-multi.replay"}}) {
      RECORDED_GAME r = sample();
      r.score = score;
      if (score >= 0) std::ofstream(file) << replay_text(r);
    }
    RECORDED_GAME watched;
    EXPECT_TRUE(load_named_replay("best", watched)) << c.solo << " " << c.multi;
    EXPECT_EQ(watched.score, c.watched) << c.solo << " " << c.multi;
  }
  // A tie goes to the game kept first: the solo game, an hour older.
  for (const bool multi : {false, true}) {
    RECORDED_GAME r = sample();
    r.score = 200;
    r.multi = multi;
    const char* file = multi ? "best-multi.replay" : "best-solo.replay";
    std::ofstream(file) << replay_text(r);
    if (!multi) {
      std::filesystem::last_write_time(
          file, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    }
  }
  RECORDED_GAME watched;
  EXPECT_TRUE(load_named_replay("best", watched));
  EXPECT_FALSE(watched.multi) << "a tie went to the newer game";
}

// "last" is the game kept where the replays are kept: beside the records
// where the game runs when it may write there, else in the data directory
// (here a working directory removed while the game runs).
TEST(ReplayFile, ReplayLastWatchesTheGameKeptWhereReplaysAreKept) {
  const harness::GAME_DIR_COPY dir;
  namespace fs = std::filesystem;
  const fs::path data = fs::current_path() / "data";
  fs::create_directories(data / "brinegrab");
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  for (const auto& [score, file] :
       {std::pair{11, fs::path("last.replay")}, std::pair{77, data / "brinegrab/last.replay"}}) {
    RECORDED_GAME r = sample();
    r.score = score;
    std::ofstream(file) << replay_text(r);
  }
  const fs::path home = fs::current_path();
  const struct {
    const char* where;
    bool removed;
    int watched;
  } cases[] = {{"a directory the game may write", false, 11},
               {"a removed working directory", true, 77}};
  for (const auto& c : cases) {
    if (c.removed) {
      fs::create_directory("gone");
      fs::current_path("gone");
      fs::remove(home / "gone");
    }
    RECORDED_GAME watched;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(load_named_replay("last", watched)) << c.where;
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(watched.score, c.watched) << c.where;
    fs::current_path(home);
  }
  unsetenv("XDG_DATA_HOME");
}

// The browser draws from this generator: a replay plays the same game there
// only if it draws glibc's own numbers, seed for seed.
TEST(ReplayFile, TheBrowsersGeneratorDrawsGlibcsNumbers) {
  // 0 (glibc's stand-in 1), a seed of the time's size, the largest (negative
  // as glibc's signed state reads it).
  const unsigned seeds[] = {0, 1, 42, 1733800000u, UINT_MAX};
  for (const unsigned seed : seeds) {
    GLIBC_RANDOM g;
    glibc_seed(g, seed);
    srand(seed);
    int i = 0;
    while (i < 10000 && glibc_next(g) == rand()) ++i;
    EXPECT_EQ(i, 10000) << "seed " << seed;
  }
}

TEST(ReplayFile, TheReplayAndAttractOptionsAreRead) {
  struct CASE {
    std::vector<std::string> args;
    int status;
    const char* replay;
    bool attract;
  };
  const CASE cases[] = {
      {{"--replay", "x.replay"}, -1, "x.replay", false},
      {{"--attract", "--windowed"}, -1, nullptr, true},
      {{"--replay", "--attract"}, -1, "--attract", false},
      {{"--windowed", "--replay"}, 2, nullptr, false},
  };
  for (const CASE& c : cases) {
    std::vector<char*> argv{const_cast<char*>("brinegrab")};
    for (const std::string& arg : c.args) argv.push_back(const_cast<char*>(arg.c_str()));
    OPTIONS options;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(parse_options(static_cast<int>(argv.size()), argv.data(), options, out, err),
              c.status)
        << c.args.front();
    if (c.status < 0) {
      EXPECT_EQ(options.replay == nullptr ? std::string() : std::string(options.replay),
                c.replay == nullptr ? std::string() : std::string(c.replay));
      EXPECT_EQ(options.attract, c.attract);
    } else {
      EXPECT_GT(std::ftell(err), 0L) << "the usage on stderr";
    }
    std::fclose(out);
    std::fclose(err);
  }
}
