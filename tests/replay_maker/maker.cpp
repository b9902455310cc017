// Records the replay suite's games (tests/replays/) on the virtual clock:
// for each plan below, games with seed after seed until one reaches what the
// plan asks for, played by scripted players who dodge the ball, walk to the
// pick-ups and the portals, and press keys at random in the mini-games and
// the fight. The seed and every key then live in the replay file.
// scripts/rerecord-replays runs it; environment: BRINEGRAB_REPLAY_OUT (the
// directory to write NAME.replay to), BRINEGRAB_REPLAY_ONLY (one plan's name),
// BRINEGRAB_RUN_OUT (where a plan of several games also writes the whole run,
// its games one after another, as NAME.run).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "constants.h"
#include "game.h"
#include "game_setup.h"
#include "globals.h"
#include "harness.h"
#include "random.h"
#include "replay.h"
#include "replay_features.h"
#include "replay_session.h"

namespace {

struct PLAN {
  const char* name;
  unsigned first_seed;
  bool multi;
  int games_before;  // played first in the same run, so the game carries their state
  int budget;        // frames of play before the players press Escape; 0: never
  double wander;     // per frame: a random key instead of the brain's
  bool reckless;     // the pirates walk into the ball
  unsigned wanted;
};

const PLAN PLANS[] = {
    {"solo-hits", 100, false, 0, 0, 0.1, true, ENDED_BY_HITS},
    {"solo-escape-chest", 200, false, 0, 600, 0.0, false, ENDED_BY_ESCAPE | CHEST_OPENED},
    {"solo-ruby", 300, false, 1, 600, 0.0, false, RUBY_TAKEN | ENDED_BY_ESCAPE},
    {"solo-ghost", 400, false, 0, 800, 0.0, false, GHOST_PASS},
    {"solo-five-minutes", 500, false, 0, 7600, 0.0, false, LONG_FAST},
    {"multi-trap-run", 600, true, 0, 700, 0.05, false, TRAP_RUN},
    {"multi-treasure-boxes", 700, true, 0, 700, 0.05, false, TREASURE_BOXES},
    {"multi-cannonball-rows", 800, true, 0, 700, 0.05, false, CANNON_ROWS},
    {"multi-sword-fight", 900, true, 0, 700, 0.05, false, SWORD_FIGHT},
    {"multi-hits", 1000, true, 1, 0, 0.1, true, ENDED_BY_HITS},
    {"multi-second-game", 1100, true, 1, 500, 0.05, false, ENDED_BY_ESCAPE},
};

const int TRIES = 80;

const SDLKey KEYS[2][5] = {{SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RCTRL},
                           {SDLK_w, SDLK_s, SDLK_a, SDLK_d, SDLK_g}};

// The pirate's body and the ball as plain rectangles.
struct BOX {
  int left, top, right, bottom;
};
bool meet(const BOX& a, const BOX& b, int margin) {
  return a.left - margin < b.right && b.left < a.right + margin && a.top - margin < b.bottom &&
         b.top < a.bottom + margin;
}

class PLAYERS {
 public:
  PLAYERS(GAME& g, const PLAN& p, unsigned seed) : game(g), plan(p), rng(seed) {}

  void frame() {
    const bool main_play = game.myCoin->get_frame() != coin_frame;
    coin_frame = game.myCoin->get_frame();
    if (!main_play) {
      ++nested;
      mini_keys();
      return;
    }
    nested = 0;
    ++frames;
    if (plan.budget > 0 && frames > plan.budget) {
      if (frames % 5 == 0) harness::press(SDLK_ESCAPE);
      return;
    }
    steer(*game.myPirate, 0);
    if (game.multi) steer(*game.myPirate2, 1);
  }

 private:
  bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }
  SDLKey any_key() {
    return KEYS[std::uniform_int_distribution<int>(0, 1)(rng)]
               [std::uniform_int_distribution<int>(0, 4)(rng)];
  }

  // The mini-games and the fight: keys at random, and Escape if one drags on.
  void mini_keys() {
    if (nested > 500) {
      if (nested % 5 == 0) harness::press(SDLK_ESCAPE);
      return;
    }
    if (chance(0.3)) harness::press(any_key());
  }

  template <class P>
  void steer(P& pirate, int player) {
    if (chance(plan.wander)) {
      const SDLKey key = KEYS[player][std::uniform_int_distribution<int>(0, 3)(rng)];
      harness::push(chance(0.7) ? harness::key_down(key) : harness::key_up(key));
      return;
    }
    int tx = 0, ty = 0;
    target(tx, ty);
    if (plan.reckless) {
      tx = game.myCannonball->get_x() + 10;
      ty = game.myCannonball->get_y() + 10;
    }
    int best_vx = 0, best_vy = 0;
    long best = -1;
    for (int vx = -VELOCITY; vx <= VELOCITY; vx += VELOCITY) {
      for (int vy = -VELOCITY; vy <= VELOCITY; vy += VELOCITY) {
        const long cost = danger(pirate, vx, vy) + distance_after(pirate, vx, vy, tx, ty);
        if (best < 0 || cost < best) {
          best = cost;
          best_vx = vx;
          best_vy = vy;
        }
      }
    }
    // A press moves the speed one step of 10 towards its direction.
    for (int v = pirate.get_xvel(); v < best_vx; v += VELOCITY) press(KEYS[player][3]);
    for (int v = pirate.get_xvel(); v > best_vx; v -= VELOCITY) press(KEYS[player][2]);
    for (int v = pirate.get_yvel(); v < best_vy; v += VELOCITY) press(KEYS[player][1]);
    for (int v = pirate.get_yvel(); v > best_vy; v -= VELOCITY) press(KEYS[player][0]);
  }

  static void press(SDLKey key) { harness::push(harness::key_down(key)); }

  // A portal first, then a ghost, the chest, the ruby, the coin: where the
  // middle of the pirate should go.
  void target(int& x, int& y) {
    SDL_Rect r = game.myCoin->get_c_boxes()[0];
    if (!game.myRuby->is_collected()) r = game.myRuby->get_c_boxes()[0];
    if (!game.myTreasure->collected()) r = game.myTreasure->get_c_boxes()[0];
    if (!game.myGPIRATE->is_collected()) r = game.myGPIRATE->get_c_boxes()[0];
    if (game.multi && game.myfight->is_on()) r = game.myfight->get_hitbox();
    if (game.multi && game.myminis->is_on()) r = game.myminis->get_hitbox();
    x = r.x + r.w / 2;
    y = r.y + r.h / 2;
  }

  template <class P>
  static long distance_after(P& pirate, int vx, int vy, int tx, int ty) {
    const int x = clamp(pirate.get_x() + vx, 20, 620 - PIRATE_WIDTH) + 36;
    const int y = clamp(pirate.get_y() + vy, -40, 450 - PIRATE_HEIGHT) + 38;
    return std::labs(static_cast<long>(x - tx)) + std::labs(static_cast<long>(y - ty));
  }

  static int clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

  // How soon, in the next frames, the ball's flight would cross the pirate's
  // body moving at (vx, vy): the sooner, the dearer.
  template <class P>
  long danger(P& pirate, int vx, int vy) {
    if (pirate.is_ghost() || plan.reckless) return 0;
    CANNONBALL& ball = *game.myCannonball;
    int dx = 0, dy = 0;
    switch (ball.get_airway()) {
      case 0:
        dx = ball.get_xvel();
        break;
      case 1:
        dx = -ball.get_xvel();
        break;
      case 2:
        dy = ball.get_yvel();
        break;
      default:
        dy = -ball.get_yvel();
        break;
    }
    int px = pirate.get_x(), py = pirate.get_y();
    int bx = ball.get_x(), by = ball.get_y();
    for (int t = 1; t <= 14; ++t) {
      px = clamp(px + vx, 20, 620 - PIRATE_WIDTH);
      py = clamp(py + vy, -40, 450 - PIRATE_HEIGHT);
      const BOX body{px + 16, py + 10, px + 58, py + 66};
      const int nx = bx + dx, ny = by + dy;
      const BOX flight{std::min(bx, nx), std::min(by, ny), std::max(bx, nx) + 20,
                       std::max(by, ny) + 20};
      if (meet(body, flight, 8)) return (15 - t) * 100000L;
      bx = nx;
      by = ny;
      if (bx > 680 || by > 520 || bx < -40 || by < -40) break;
    }
    return 0;
  }

  GAME& game;
  const PLAN& plan;
  std::mt19937 rng;
  int coin_frame = -1;
  int nested = 0;
  int frames = 0;
};

// One run: the games before, then the game recorded. Returns what it reached.
unsigned play_run(const PLAN& plan, unsigned seed, RECORDED_GAME& replay, std::string& run) {
  harness::reset();
  harness::set_limits(60u * 60 * 1000, 1000000);
  quit = false;
  start = false;
  restart = true;
  seed_rand(seed);
  GAME game;
  if (!start_up(game)) return 0;
  FEATURE_WATCH features(game);
  unsigned seen = 0;
  for (int g = 0; g <= plan.games_before; ++g) {
    PLAYERS players(game, plan, seed * 31 + static_cast<unsigned>(g));
    harness::reset();
    harness::set_limits(60u * 60 * 1000, 1000000);
    harness::on_every_flip([&](int) {
      players.frame();
      features.look();
    });
    quit = false;
    game.score = 0;
    const REPLAY_START begin = replay_start(game);
    game.multi = plan.multi;
    prepare_before_mode(game);
    prepare_after_mode(game);
    features.begin();
    play_recorded(game, begin);
    harness::reset();
    harness::drain_queue();
    replay = last_replay();
    run += replay_text(replay);
    seen = features.finish(replay.multi, replay.drains);
  }
  shut_down(game);
  return seen;
}

TEST(REPLAY_MAKER, records_every_plan) {
  const char* out = std::getenv("BRINEGRAB_REPLAY_OUT");
  ASSERT_NE(out, nullptr) << "set BRINEGRAB_REPLAY_OUT to the directory for the replays";
  const char* only = std::getenv("BRINEGRAB_REPLAY_ONLY");
  harness::GAME_DIR_COPY dir;
  for (const PLAN& plan : PLANS) {
    if (only != nullptr && std::string(only) != plan.name) continue;
    bool made = false;
    for (int k = 0; k < TRIES && !made; ++k) {
      const unsigned seed = plan.first_seed + static_cast<unsigned>(k);
      RECORDED_GAME replay;
      std::string run;
      const unsigned seen = play_run(plan, seed, replay, run);
      if ((seen & plan.wanted) != plan.wanted) continue;
      const std::string path = std::string(out) + "/" + plan.name + ".replay";
      std::ofstream(path, std::ios::binary) << replay_text(replay);
      const char* runs = std::getenv("BRINEGRAB_RUN_OUT");
      if (runs != nullptr && plan.games_before > 0) {
        std::ofstream(std::string(runs) + "/" + plan.name + ".run", std::ios::binary) << run;
      }
      std::printf("%s: seed %u, %u frames, score %d: %s\n", plan.name, seed, replay.drains,
                  replay.score, feature_names(seen).c_str());
      made = true;
    }
    EXPECT_TRUE(made) << plan.name << ": no seed of " << TRIES << " reached "
                      << feature_names(plan.wanted);
  }
}

}  // namespace
