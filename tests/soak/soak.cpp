// The soak: random play of whole sessions (start-up, splash, menus, games
// one after another, shutdown) on the virtual clock, for a span of real time.
// Both modes; random presses and releases for both players, Enter, Space,
// Escape and now and then a window close; a pirate steered onto the map piece
// or the sword-fight marker from time to time so that every mini-game and the
// fight come up. It watches the game only from outside (music, sounds, the
// portals, records.dat) and checks the record file after every game.
//
// Environment: BRINEGRAB_SOAK_SECONDS (real time, default 20),
// BRINEGRAB_SOAK_SEED (session k plays with seed + k; default: the time),
// BRINEGRAB_SOAK_SESSIONS (stop after this many; replays one seed with 1),
// BRINEGRAB_SOAK_TRACE=1 (a line for every game).
// scripts/soak runs it for minutes under the sanitizers.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "game.h"
#include "globals.h"
#include "harness.h"

namespace {

using REAL_CLOCK = std::chrono::steady_clock;

const Uint32 TICK_MS = 40;  // the input looks at the game once a frame
// Frames past what a phase needs (a menu's choice, a game's planned length)
// after which it counts as stuck.
const int STUCK_FRAMES = 1500;
// A session whose game makes no frame for this long in real time hangs.
const auto HANG_SECONDS = std::chrono::seconds(30);

// Movement keys, then the sword-fight strike. Pause, mute and full-screen
// keys are left out: they would only hold the play up.
const std::vector<SDLKey> P1_KEYS = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RCTRL};
const std::vector<SDLKey> P2_KEYS = {SDLK_w, SDLK_s, SDLK_a, SDLK_d, SDLK_g};
const std::vector<SDLKey> STRAY_KEYS = {SDLK_RETURN, SDLK_SPACE, SDLK_x, SDLK_TAB};
const std::vector<SDLKey> MENU_NOISE = {SDLK_UP, SDLK_DOWN, SDLK_w, SDLK_a, SDLK_RCTRL, SDLK_x};

// In the portal's order.
const char* const MINI_GAMES[3] = {"in the trap run", "in the treasure boxes",
                                   "in the cannonball rows"};

long env_number(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

using harness::file_text;

struct COUNTS {
  int sessions = 0;
  int games = 0;
  int solo_games = 0;
  int minis[3] = {};
  int fights = 0;
  int failures = 0;
  int longest_game = 0;  // frames

  void add(const COUNTS& c) {
    sessions += c.sessions;
    games += c.games;
    solo_games += c.solo_games;
    for (int k = 0; k < 3; ++k) minis[k] += c.minis[k];
    fights += c.fights;
    failures += c.failures;
    if (c.longest_game > longest_game) longest_game = c.longest_game;
  }
  std::string line() const {
    char text[200];
    std::snprintf(text, sizeof text,
                  "%d sessions, %d games, trap run %d, boxes %d, rows %d, fights %d, %d failures",
                  sessions, games, minis[0], minis[1], minis[2], fights, failures);
    return text;
  }
};

// How a session's players behave. Explorers play short two-player games and
// head for the map piece and the marker; the others mostly play.
struct PLAN {
  const char* style;
  int games;                   // games before Escape on the game-over screen
  double multi_share;          // the share of two-player games wanted
  double steer_chance;         // per frame: head for the piece or the marker
  double escape_chance;        // per frame of play: Escape
  int min_frames, max_frames;  // a game's length, after which Escape ends it
  double menu_quit_chance;     // per menu pass: Escape, ending the session there
};

PLAN make_plan(std::mt19937& rng) {
  const int games = std::uniform_int_distribution<int>(1, 6)(rng);
  switch (rng() % 4) {
    case 0:
    case 1:
      return {"explorer", games, 0.9, 0.08, 1.0 / 3000, 200, 1500, 0.0};
    case 2: {
      PLAN plan = {"player", games, 0.5, 0.004, 1.0 / 1500, 500, 4000, 0.0};
      if (rng() % 10 == 0) plan.menu_quit_chance = 0.01;  // one in ten may leave on a menu
      return plan;
    }
    default:
      return {"stayer", 1, 0.5, 0.01, 0.0, 3000, 9000, 0.0};
  }
}

// What records.dat must hold: each mode's best score so far.
struct EXPECTED_RECORDS {
  int solo = 0;
  int multi = 0;
};

// Tells when anything writes records.dat in the session's directory.
class RECORD_WATCH {
 public:
  explicit RECORD_WATCH(const std::string& dir) {
    fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd >= 0) inotify_add_watch(fd, dir.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO);
  }
  ~RECORD_WATCH() {
    if (fd >= 0) close(fd);
  }
  RECORD_WATCH(const RECORD_WATCH&) = delete;
  RECORD_WATCH& operator=(const RECORD_WATCH&) = delete;
  bool ok() const { return fd >= 0; }

  // Whether records.dat was written (replaced or rewritten) since last asked.
  bool written() {
    bool seen = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      for (ssize_t at = 0; at < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
        if (e->len > 0 && std::string(e->name) == "records.dat") seen = true;
        at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      }
    }
    return seen;
  }

 private:
  int fd = -1;
};

// Where the soak stands, for the hang watchdog's message.
std::atomic<long> progress{0};
std::atomic<int> current_session{0};
std::atomic<unsigned> current_seed{0};

// One session: start-up, the whole run with random input, shutdown.
class SESSION {
 public:
  SESSION(int session_number, unsigned session_seed, REAL_CLOCK::time_point end_at,
          RECORD_WATCH& record_watch, EXPECTED_RECORDS& records)
      : number(session_number),
        seed(session_seed),
        deadline(end_at),
        watch(record_watch),
        expected(records),
        rng(seed),
        plan(make_plan(rng)) {}

  COUNTS play() {
    harness::reset();
    quit = false;
    start = false;
    restart = true;
    std::srand(seed);
    want_multi = chance(plan.multi_share);
    if (!start_up(game)) {
      fail("the game did not start");
      return counts;
    }
    // Far beyond its planned games the session hangs where the input cannot
    // see it (a loop that flips but never waits).
    const int limit_frames = (plan.games + 1) * (plan.max_frames + 2 * STUCK_FRAMES);
    harness::set_limits(static_cast<Uint32>(limit_frames) * TICK_MS, limit_frames);
    watch.written();
    // The start-up check loads every music file once: not a screen change.
    music_seen = harness::music_files().size();
    marker_was_on = game.myfight->is_on();
    schedule_tick();
    try {
      run(game);
      if (phase == PHASE::PLAY) fail("the run ended during game %d", counts.games);
      if (ticks - last_escape_tick > 300) fail("the run ended without Escape, %s", where());
    } catch (const harness::STUCK& stuck) {
      fail("stuck (%s) at %u virtual ms, %s", stuck.why.c_str(), harness::now(), where());
    }
    harness::reset();  // no more ticks
    shut_down(game);
    counts.sessions = 1;
    return counts;
  }

  const char* style() const { return plan.style; }

 private:
  enum class PHASE { MENU, PLAY, GAME_OVER };  // PLAY includes mini-games and fights
  enum class TARGET { NONE, MAP_PIECE, MARKER };

  void fail(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    char text[400];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::printf("soak: FAILURE in session %d (seed %u): %s\n", number, seed, text);
    std::fflush(stdout);
    ++counts.failures;
  }

  const char* where() const {
    switch (phase) {
      case PHASE::MENU:
        return "on a menu screen";
      case PHASE::GAME_OVER:
        return "on the game-over screen";
      default:
        return in_play ? "in play" : nested != nullptr ? nested : "in a pause";
    }
  }

  bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }
  template <class T>
  const T& pick(const std::vector<T>& items) {
    return items[rng() % items.size()];
  }

  void push(const SDL_Event& e) {
    SDL_Event copy = e;
    SDL_PushEvent(&copy);  // a full queue drops it, as it would a real key
    if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) last_escape_tick = ticks;
  }
  void press(SDLKey key) {
    push(harness::key_down(key));
    push(harness::key_up(key));
  }

  void schedule_tick() {
    harness::at_time(harness::now() + TICK_MS, [this] { tick(); });
  }

  bool winding_down() const { return REAL_CLOCK::now() >= deadline; }

  void tick() {
    ++ticks;
    ++progress;
    const PHASE before = phase;
    if (watch.written()) records_written();
    follow_music();
    watch_portals();
    phase_ticks = phase == before ? phase_ticks + 1 : 0;
    // Escape ends a game within a few frames, and the menus are left within
    // a few passes: far more is a hang (reported by the session).
    if (phase_ticks > (phase == PHASE::PLAY ? frame_budget : 0) + STUCK_FRAMES) {
      throw harness::STUCK{"no way on after " + std::to_string(phase_ticks) + " frames"};
    }
    switch (phase) {
      case PHASE::MENU:
        menu_input();
        break;
      case PHASE::GAME_OVER:
        game_over_input();
        break;
      case PHASE::PLAY:
        play_input();
        break;
    }
    schedule_tick();
  }

  // The music tells the screens apart: the opening tune on the menus, the
  // game's tune from the start of each game.
  void follow_music() {
    const std::vector<std::string>& music = harness::music_files();
    for (; music_seen < music.size(); ++music_seen) {
      if (ends_with(music[music_seen], "game.wav")) {
        begin_game();
      } else if (ends_with(music[music_seen], "open.wav")) {
        if (phase == PHASE::PLAY) fail("game %d ended without writing records.dat", counts.games);
        phase = PHASE::MENU;
        ++openings;
      }
    }
  }

  void begin_game() {
    if (phase == PHASE::PLAY)
      fail("game %d began before game %d was recorded", counts.games + 1, counts.games);
    phase = PHASE::PLAY;
    ++counts.games;
    if (!game.multi) ++counts.solo_games;
    game_frames = 0;
    frame_budget = std::uniform_int_distribution<int>(plan.min_frames, plan.max_frames)(rng);
    last_score = game.score;
    steer = 0;
    want_multi = chance(plan.multi_share);  // for the next game
  }

  // After every game the mode's record is the best score played in it; a
  // write at any other time must leave the records as they were.
  void records_written() {
    if (phase == PHASE::PLAY) {
      int& record = game.multi ? expected.multi : expected.solo;
      if (game.score > record) record = game.score;
      phase = PHASE::GAME_OVER;
      games_recorded = counts.games;
      if (game_frames > counts.longest_game) counts.longest_game = game_frames;
      if (trace) {
        std::printf("soak:   game %d, %s, %d frames, score %d, %s\n", counts.games,
                    game.multi ? "two players" : "solo", game_frames, game.score, how_it_ended());
      }
    }
    const std::string want = std::to_string(expected.solo) + " " + std::to_string(expected.multi);
    const std::string held = file_text("records.dat");
    if (held != want) {
      fail("after game %d (%s, score %d) records.dat holds \"%s\", not \"%s\"", counts.games,
           game.multi ? "two players" : "solo", game.score, held.c_str(), want.c_str());
      // Go on from what the file holds, so one fault is reported once.
      std::istringstream(held) >> expected.solo >> expected.multi;
    }
  }

  // Mini-games and fights are counted as they begin: the portal plays its
  // entry sound before the mini-game it holds, and the marker goes off as
  // its fight begins. The marker's animation runs only in the play loop's
  // frames, which tells play from the nested loops.
  void watch_portals() {
    const int fight_frame = game.myfight->get_frame();
    in_play = phase == PHASE::PLAY && (!game.multi || fight_frame != last_fight_frame);
    last_fight_frame = fight_frame;
    if (in_play) nested = nullptr;

    const int entered = harness::plays("sfx/mini_enter.wav");
    if (entered > minis_seen) {
      const int kind = game.myminis->get_game();
      counts.minis[kind] += entered - minis_seen;
      nested = MINI_GAMES[kind];
      minis_seen = entered;
      steer = 0;
    }
    const bool marker_on = game.myfight->is_on();
    if (marker_was_on && !marker_on) {
      ++counts.fights;
      nested = "in the sword fight";
      steer = 0;
    }
    marker_was_on = marker_on;

    if (phase == PHASE::PLAY) {
      if (game.score < last_score) {
        fail("the score fell from %d to %d in game %d", last_score, game.score, counts.games);
      }
      last_score = game.score;
    }
  }

  const char* how_it_ended() {
    if (game.myPirate->is_dead() || (game.multi && game.myPirate2->is_dead())) return "a death";
    const std::vector<std::string>& music = harness::music_files();
    if (!music.empty() && ends_with(music.back(), "end.wav")) return "Escape";
    return "a window close";
  }

  void menu_input() {
    if (winding_down() || chance(plan.menu_quit_chance)) {
      press(SDLK_ESCAPE);
      return;
    }
    // The opening tune starts the title screens once a session and the mode
    // screen before every game.
    const bool mode_screen = openings > 1;
    if (mode_screen && game.multi != want_multi) {
      if (chance(0.5)) press(SDLK_SPACE);
    } else if (settled() && chance(0.3)) {
      choose(SDLK_RETURN);
    }
    noise(MENU_NOISE);
  }

  void game_over_input() {
    if (winding_down()) {
      press(SDLK_ESCAPE);
      return;
    }
    if (settled() && chance(0.25)) choose(games_recorded >= plan.games ? SDLK_ESCAPE : SDLK_RETURN);
    noise(MENU_NOISE);
  }

  // A player waits to see the next screen before pressing again; the
  // tune changes only after the screen the key left.
  bool settled() const { return ticks - last_choice_tick > 3; }
  void choose(SDLKey key) {
    press(key);
    last_choice_tick = ticks;
  }

  // Keys the screen ignores, and the window's close button, which menus ignore too.
  void noise(const std::vector<SDLKey>& keys) {
    if (chance(0.1))
      push(chance(0.5) ? harness::key_down(pick(keys)) : harness::key_up(pick(keys)));
    if (chance(0.01)) push(harness::window_close());
  }

  void play_input() {
    ++game_frames;
    if (winding_down() || game_frames > frame_budget) {
      // Escape ends a mini-game or fight first, then the game.
      if (game_frames % 5 == 0 || winding_down()) press(SDLK_ESCAPE);
      return;
    }
    player_keys(P1_KEYS, held1, steer == 1);
    player_keys(P2_KEYS, held2, steer == 2);
    if (chance(0.02)) press(pick(STRAY_KEYS));
    if (chance(plan.escape_chance)) press(SDLK_ESCAPE);
    if (chance(1.0 / 4000)) push(harness::window_close());
    steer_to_portal();
  }

  // Random presses and releases: mostly a key not held goes down and a held
  // key comes up, with now and then a repeated press or a stray release.
  void player_keys(const std::vector<SDLKey>& keys, std::set<SDLKey>& held, bool steered) {
    if (!chance(0.15)) return;
    const SDLKey key = pick(keys);
    if (steered && key != keys.back()) return;  // the steering moves him
    const bool down = held.count(key) == 0 ? !chance(0.05) : chance(0.1);
    if (down) {
      push(harness::key_down(key));
      held.insert(key);
    } else {
      push(harness::key_up(key));
      held.erase(key);
    }
  }

  // Chance alone brings a pirate onto the map piece or the marker too
  // seldom, so now and then one walks there: key presses that turn his
  // speed towards the middle of the target's hit box.
  void steer_to_portal() {
    if (!in_play || !game.multi) return;
    if (steer == 0) {
      if (!chance(plan.steer_chance)) return;
      std::vector<TARGET> targets;
      if (game.myminis->is_on()) targets.push_back(TARGET::MAP_PIECE);
      if (game.myfight->is_on()) targets.push_back(TARGET::MARKER);
      if (targets.empty()) return;
      target = pick(targets);
      steer = chance(0.5) ? 1 : 2;
      steer_frames = 0;
    }
    const bool on = target == TARGET::MAP_PIECE ? game.myminis->is_on() : game.myfight->is_on();
    if (!on || ++steer_frames > 250) {
      steer = 0;
      return;
    }
    const SDL_Rect box =
        target == TARGET::MAP_PIECE ? game.myminis->get_hitbox() : game.myfight->get_hitbox();
    if (steer == 1) {
      walk_towards(*game.myPirate, box, P1_KEYS);
    } else {
      walk_towards(*game.myPirate2, box, P2_KEYS);
    }
  }

  template <class PIRATE_T>
  void walk_towards(const PIRATE_T& pirate, const SDL_Rect& box, const std::vector<SDLKey>& keys) {
    // The middle of the pirate's two hit boxes.
    const int dx = box.x + box.w / 2 - (pirate.get_x() + 36);
    const int dy = box.y + box.h / 2 - (pirate.get_y() + 38);
    turn_speed(pirate.get_xvel(), dx, keys[2], keys[3]);
    turn_speed(pirate.get_yvel(), dy, keys[0], keys[1]);
  }

  // Each press moves the speed one step (10) towards its key's direction.
  void turn_speed(int speed, int distance, SDLKey minus, SDLKey plus) {
    const int want = distance > 5 ? 10 : distance < -5 ? -10 : 0;
    for (int v = speed; v < want; v += 10) push(harness::key_down(plus));
    for (int v = speed; v > want; v -= 10) push(harness::key_down(minus));
  }

  const bool trace = env_number("BRINEGRAB_SOAK_TRACE", 0) != 0;
  const int number;
  const unsigned seed;
  const REAL_CLOCK::time_point deadline;
  RECORD_WATCH& watch;
  EXPECTED_RECORDS& expected;
  std::mt19937 rng;
  const PLAN plan;
  GAME game;
  COUNTS counts;

  PHASE phase = PHASE::MENU;
  bool in_play = false;
  const char* nested = nullptr;  // the mini-game or fight under way
  long ticks = 0;
  long last_escape_tick = -1000000;
  long last_choice_tick = -1000000;
  size_t music_seen = 0;
  int openings = 0;  // times the opening tune started
  int minis_seen = 0;
  bool marker_was_on = false;
  int last_fight_frame = -1;
  int last_score = 0;
  bool want_multi = false;
  int games_recorded = 0;
  int phase_ticks = 0;  // ticks since the phase changed
  int game_frames = 0;
  int frame_budget = 0;
  std::set<SDLKey> held1, held2;
  int steer = 0;  // the pirate walking to a target, or 0
  TARGET target = TARGET::NONE;
  int steer_frames = 0;
};

// Ends the process if the game stops making frames (a hang the virtual
// clock cannot see: a loop that neither waits nor flips, a blocking call).
class HANG_WATCHDOG {
 public:
  HANG_WATCHDOG()
      : thread([this] {
          long last = -1;
          auto since = REAL_CLOCK::now();
          while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const long now_progress = progress;
            if (now_progress != last) {
              last = now_progress;
              since = REAL_CLOCK::now();
            } else if (REAL_CLOCK::now() - since > HANG_SECONDS) {
              std::printf("soak: FAILURE in session %d (seed %u): no frame for %lld s\n",
                          current_session.load(), current_seed.load(),
                          static_cast<long long>(HANG_SECONDS.count()));
              std::fflush(stdout);
              std::_Exit(3);
            }
          }
        }) {}
  ~HANG_WATCHDOG() {
    done = true;
    thread.join();
  }

 private:
  std::atomic<bool> done{false};
  std::thread thread;
};

}  // namespace

TEST(Soak, RandomSessionsKeepTheRecordsAndNeverHang) {
  const long seconds = env_number("BRINEGRAB_SOAK_SECONDS", 20);
  const unsigned base_seed = static_cast<unsigned>(
      env_number("BRINEGRAB_SOAK_SEED", static_cast<long>(std::time(nullptr))));
  const long max_sessions = env_number("BRINEGRAB_SOAK_SESSIONS", -1);
  const auto began = REAL_CLOCK::now();
  const auto deadline = began + std::chrono::seconds(seconds);

  harness::GAME_DIR_COPY dir;  // one records.dat for the whole soak
  RECORD_WATCH watch(dir.path());
  ASSERT_TRUE(watch.ok()) << "cannot watch " << dir.path();
  EXPECTED_RECORDS expected;
  COUNTS total;
  std::printf("soak: %ld s from seed %u\n", seconds, base_seed);
  {
    HANG_WATCHDOG watchdog;
    for (int k = 0; (max_sessions < 0 || k < max_sessions) && REAL_CLOCK::now() < deadline; ++k) {
      const unsigned seed = base_seed + static_cast<unsigned>(k);
      current_session = k;
      current_seed = seed;
      SESSION session(k, seed, deadline, watch, expected);
      const COUNTS counts = session.play();
      std::printf("soak: session %d seed %u %s: %s, longest game %d frames\n", k, seed,
                  session.style(), counts.line().c_str(), counts.longest_game);
      std::fflush(stdout);
      total.add(counts);
    }
  }
  const double elapsed = std::chrono::duration<double>(REAL_CLOCK::now() - began).count();
  std::printf("soak: %s\n", total.line().c_str());
  std::printf("soak: %d solo and %d two-player games, longest %d frames, %.0f s\n",
              total.solo_games, total.games - total.solo_games, total.longest_game, elapsed);
  std::fflush(stdout);
  EXPECT_EQ(total.failures, 0);
}
