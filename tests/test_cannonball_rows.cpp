// The cannonball rows: the rules stepped directly, then whole games through
// mini3 on the virtual clock with scripted keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "mini_fixture.h"
#include "minigames/funcs.h"
#include "minigames/mini3.h"

using namespace cannon_rows;

namespace {

// One frame of the rules in the game's order, without the drawing.
int rules_frame(ROWS_STATE& s, int& score) {
  move(s);
  const int shots = fall(s, score);
  after_draw(s);
  return shots;
}

void set_row(ROWS_STATE& s, int row, int y, std::set<int> live) {
  for (int j = 0; j < ROW_BALLS; ++j) {
    s.balls[row][j] = live.count(j) > 0;
    s.balls_hitb[row][j].y = static_cast<Sint16>(y);
  }
}

std::set<int> all_but(std::set<int> gaps) {
  std::set<int> live;
  for (int j = 0; j < ROW_BALLS; ++j) {
    if (gaps.count(j) == 0) live.insert(j);
  }
  return live;
}

std::set<int> live_of(const ROWS_STATE& s, int row) {
  std::set<int> live;
  for (int j = 0; j < ROW_BALLS; ++j) {
    if (s.balls[row][j]) live.insert(j);
  }
  return live;
}

// A fresh game whose balls cannot reach anyone: both rows dead.
ROWS_STATE empty_shore() {
  ROWS_STATE s;
  set_up(s);
  set_row(s, 0, 0, {});
  set_row(s, 1, 240, {});
  return s;
}

// Moves with no velocity and reports whether the pirates were hit.
bool hit_where_they_stand(ROWS_STATE& s) {
  s.xVel1 = s.yVel1 = s.xVel2 = s.yVel2 = 0;
  s.end = false;
  move(s);
  return s.end;
}

bool same_rect(const SDL_Rect& a, const SDL_Rect& b) {
  return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

::testing::AssertionResult same_state(const ROWS_STATE& a, const ROWS_STATE& b) {
  if (a.moved1 != b.moved1 || a.moved2 != b.moved2) return ::testing::AssertionFailure() << "moved";
  if (!same_rect(a.hitbox1, b.hitbox1) || !same_rect(a.hitbox2, b.hitbox2)) {
    return ::testing::AssertionFailure() << "pirates";
  }
  if (a.xVel1 != b.xVel1 || a.yVel1 != b.yVel1 || a.xVel2 != b.xVel2 || a.yVel2 != b.yVel2) {
    return ::testing::AssertionFailure() << "velocities";
  }
  if (a.speed != b.speed || a.frame != b.frame || a.end != b.end) {
    return ::testing::AssertionFailure() << "speed, frame or end";
  }
  for (int i = 0; i < ROW_COUNT; ++i) {
    for (int j = 0; j < ROW_BALLS; ++j) {
      if (a.balls[i][j] != b.balls[i][j] || !same_rect(a.balls_hitb[i][j], b.balls_hitb[i][j])) {
        return ::testing::AssertionFailure() << "ball " << i << "," << j;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace

// ---- Falling, firing again and scoring.

TEST(CannonRows, PassesScoreAtTheFallStepOnlyAndSpeedUp) {
  std::srand(7);
  ROWS_STATE s;
  set_up(s);
  int score = 100;
  std::vector<int> scored_at, shots_at, row_fired;
  for (int n = 1; n <= 420; ++n) {
    const int before = score;
    const std::set<int> row0_gaps = live_of(s, 0);
    move(s);
    const int shots = fall(s, score);
    for (int k = 0; k < shots; ++k) shots_at.push_back(n);
    if (score != before) {
      scored_at.push_back(n);
      EXPECT_EQ(score - before, 3500) << "frame " << n;
      row_fired.push_back(s.balls_hitb[0][0].y == 0 ? 0 : 1);
    }
    if (n == 401) {
      // Row 0's second pass ends in the draw pass: wrapped, same gaps, no points.
      EXPECT_EQ(s.balls_hitb[0][0].y, 480);
      after_draw(s);
      EXPECT_EQ(s.balls_hitb[0][0].y, 0);
      EXPECT_EQ(live_of(s, 0), row0_gaps);
      continue;
    }
    after_draw(s);
    if (n == 121) {
      EXPECT_EQ(s.speed, 6);
    }
    if (n == 241) {
      EXPECT_EQ(s.speed, 11);
    }
    if (n == 321) {
      EXPECT_EQ(s.speed, 16);
    }
    EXPECT_EQ(s.frame, n % 9);
    for (int i = 0; i < ROW_COUNT; ++i) {
      for (int j = 1; j < ROW_BALLS; ++j) {
        ASSERT_EQ(s.balls_hitb[i][j].y, s.balls_hitb[i][0].y) << "a row moves as one";
      }
    }
  }
  EXPECT_EQ(scored_at, (std::vector<int>{121, 241, 321}));
  EXPECT_EQ(row_fired, (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(shots_at, scored_at) << "the cannon is heard only when a row is fired again";
  EXPECT_EQ(score, 100 + 3 * 3500);
  // Rows fall 2 pixels a frame, then 3 once speed reaches 11.
  EXPECT_EQ(s.balls_hitb[0][0].y, 19 * 3);
}

TEST(CannonRows, AWholeFrameKeepsTheRulesOrder) {
  // The full frame, drawing nowhere, must leave exactly what the rules
  // steps leave, frame after frame, scoring and firing included.
  std::srand(99);
  ROWS_STATE drawn;
  set_up(drawn);
  ROWS_STATE bare = drawn;
  int drawn_score = 0, bare_score = 0;
  ROWS_ASSETS none;
  for (int n = 1; n <= 700; ++n) {
    const unsigned seed = static_cast<unsigned>(n);
    std::srand(seed);
    frame(drawn, none, nullptr, drawn_score);
    std::srand(seed);
    rules_frame(bare, bare_score);
    ASSERT_EQ(drawn_score, bare_score) << "frame " << n;
    ASSERT_TRUE(same_state(drawn, bare)) << "frame " << n;
  }
  EXPECT_GE(drawn_score, 3 * 3500);
}

TEST(CannonRows, FiringAgainMakesEveryBallLiveBeforeTheNewGaps) {
  // Also a seed whose two draws agree: that leaves a single one-ball gap.
  unsigned equal = 0;
  for (bool found = false; !found;) {
    std::srand(++equal);
    const int first = std::rand() % 8;
    found = std::rand() % 8 == first;
  }
  for (unsigned seed : {1u, 2u, 42u, 1234u, equal}) {
    ROWS_STATE s = empty_shore();
    set_row(s, 0, 480, {});   // all dead: the old gaps must not survive
    set_row(s, 1, 100, {3});  // untouched by row 0's firing
    int score = 0;
    std::srand(seed);
    EXPECT_EQ(fall(s, score), 1);
    std::srand(seed);
    const int a = std::rand() % 8;
    const int b = std::rand() % 8;
    EXPECT_EQ(live_of(s, 0), all_but({a, b})) << "seed " << seed;
    EXPECT_EQ(live_of(s, 0).size(), a == b ? 7u : 6u);
    EXPECT_EQ(live_of(s, 1), std::set<int>{3});
    EXPECT_EQ(s.balls_hitb[0][0].y, 0);
    EXPECT_EQ(score, 3500);
    EXPECT_EQ(s.speed, 6);
  }
}

TEST(CannonRows, BothRowsFiredInOneFrameDrawRowZeroFirstAndShootTwice) {
  ROWS_STATE s = empty_shore();
  set_row(s, 0, 480, {});
  set_row(s, 1, 480, {});
  int score = 10;
  std::srand(5);
  EXPECT_EQ(fall(s, score), 2);
  std::srand(5);
  const int a = std::rand() % 8, b = std::rand() % 8;
  const int c = std::rand() % 8, d = std::rand() % 8;
  EXPECT_EQ(live_of(s, 0), all_but({a, b}));
  EXPECT_EQ(live_of(s, 1), all_but({c, d}));
  EXPECT_EQ(score, 10 + 7000);
  EXPECT_EQ(s.speed, 11);
}

TEST(CannonRows, RowZerosSpeedUpAppliesToRowOneInTheSameFrame) {
  ROWS_STATE s = empty_shore();
  s.speed = 5;             // falls 1 pixel
  set_row(s, 0, 480, {});  // fired again: speed 10, falls 2
  set_row(s, 1, 100, {});
  int score = 0;
  fall(s, score);
  EXPECT_EQ(s.balls_hitb[1][0].y, 102);
}

TEST(CannonRows, TheDrawPassWrapIsSilentKeepsTheGapsAndDrawsNoRandom) {
  ROWS_STATE s = empty_shore();
  set_row(s, 0, 480, {2, 5});
  set_row(s, 1, 479, {});
  const int speed = s.speed;
  std::srand(11);
  const int expected_next = std::rand();
  std::srand(11);
  after_draw(s);
  EXPECT_EQ(std::rand(), expected_next);
  EXPECT_EQ(s.balls_hitb[0][0].y, 0);
  EXPECT_EQ(s.balls_hitb[1][0].y, 480);
  EXPECT_EQ(live_of(s, 0), (std::set<int>{2, 5}));
  EXPECT_EQ(s.speed, speed);
  // Next frame the fall starts that row from the top: not a firing either.
  int score = 0;
  EXPECT_EQ(fall(s, score), 1) << "row 1, at 480, is fired by the fall";
  EXPECT_EQ(s.balls_hitb[0][0].y, 1);
  EXPECT_EQ(score, 3500);
}

// ---- Setting up.

TEST(CannonRows, SetUpDrawsTheFourGapsInOrder) {
  for (unsigned seed : {3u, 17u, 1234u}) {
    ROWS_STATE s;
    // Leftovers must not matter.
    s.moved1 = s.moved2 = s.end = true;
    s.speed = 99;
    s.frame = 7;
    s.xVel1 = s.yVel2 = 20;
    s.hitbox1.x = 13;
    std::srand(seed);
    set_up(s);
    const int after = std::rand();
    std::srand(seed);
    const int a = std::rand() % 8, b = std::rand() % 8;
    const int c = std::rand() % 8, d = std::rand() % 8;
    EXPECT_EQ(std::rand(), after) << "exactly four draws";
    EXPECT_EQ(live_of(s, 0), all_but({a, b}));
    EXPECT_EQ(live_of(s, 1), all_but({c, d}));
    for (int i = 0; i < ROW_COUNT; ++i) {
      for (int j = 0; j < ROW_BALLS; ++j) {
        const SDL_Rect& r = s.balls_hitb[i][j];
        EXPECT_EQ(r.x, 80 * j);
        EXPECT_EQ(r.y, 240 * i);
        EXPECT_EQ(r.w, 20);
        EXPECT_EQ(r.h, 10);
      }
    }
    EXPECT_EQ(s.hitbox1.x, 560);
    EXPECT_EQ(s.hitbox1.y, 400);
    EXPECT_EQ(s.hitbox2.x, 0);
    EXPECT_EQ(s.hitbox2.y, 400);
    EXPECT_EQ(s.hitbox1.w, 80);
    EXPECT_EQ(s.hitbox2.h, 80);
    EXPECT_FALSE(s.moved1 || s.moved2 || s.end);
    EXPECT_EQ(s.speed, 1);
    EXPECT_EQ(s.frame, 0);
    EXPECT_EQ(s.xVel1 | s.yVel1 | s.xVel2 | s.yVel2, 0);
  }
}

// ---- Hits.

TEST(CannonRowsHits, ASingleGapIsSafeFromEightyGMinusSixtyToEightyG) {
  for (int g = 0; g < ROW_BALLS; ++g) {
    const int safe_from = std::max(0, 80 * g - 60);
    const int safe_to = std::min(560, 80 * g);
    for (int pirate = 1; pirate <= 2; ++pirate) {
      ROWS_STATE s = empty_shore();
      set_row(s, 0, 400, all_but({g}));
      SDL_Rect& me = pirate == 1 ? s.hitbox1 : s.hitbox2;
      SDL_Rect& other = pirate == 1 ? s.hitbox2 : s.hitbox1;
      other.y = 0;  // well above the row
      for (int x = 0; x <= 560; ++x) {
        me.x = static_cast<Sint16>(x);
        const bool safe = x >= safe_from && x <= safe_to;
        ASSERT_EQ(hit_where_they_stand(s), !safe)
            << "gap " << g << " x " << x << " pirate " << pirate;
      }
    }
  }
}

TEST(CannonRowsHits, TouchingSidesDoNotCountTouchingTopsAndBottomsDo) {
  for (int m = 1; m <= 6; ++m) {
    ROWS_STATE s = empty_shore();
    s.hitbox2.y = 0;
    for (int other : {m - 1, m, m + 1, m + 2}) {
      set_row(s, 0, 400, {other});
      s.hitbox1.x = static_cast<Sint16>(80 * m);
      EXPECT_EQ(hit_where_they_stand(s), other == m) << "x = 80 m, m " << m << " ball " << other;
      s.hitbox1.x = static_cast<Sint16>(80 * m + 10);
      EXPECT_EQ(hit_where_they_stand(s), other == m || other == m + 1)
          << "x = 80 m + 10, m " << m << " ball " << other;
    }
  }
  // Vertically a ball from 390 (its bottom on the pirate's top) to 480 (its
  // top on the pirate's bottom) hits a pirate standing at 400.
  for (int y = 370; y <= 500; ++y) {
    ROWS_STATE s = empty_shore();
    s.hitbox2.y = 0;
    set_row(s, 1, y, {7});
    EXPECT_EQ(hit_where_they_stand(s), y >= 390 && y <= 480) << "ball y " << y;
  }
}

TEST(CannonRowsHits, DeadBallsNeverHitAndTheTestUsesTheMovedPirates) {
  ROWS_STATE s = empty_shore();
  set_row(s, 0, 400, {});
  set_row(s, 1, 400, {});
  s.hitbox2.x = 300;
  EXPECT_FALSE(hit_where_they_stand(s)) << "a row of dead balls on top of both pirates";

  // Ball 1 spans x 80..100. Stepping from 100 onto it is a hit this frame;
  // stepping off it to 100 is not.
  s = empty_shore();
  s.hitbox2.y = 0;
  set_row(s, 0, 400, {1});
  s.hitbox1.x = 100;
  s.xVel1 = -10;
  move(s);
  EXPECT_EQ(s.hitbox1.x, 90);
  EXPECT_TRUE(s.end);
  s.end = false;
  s.xVel1 = 10;
  move(s);
  EXPECT_FALSE(s.end);
  // Pirate two is a target as much as pirate one.
  s = empty_shore();
  s.hitbox1.y = 0;
  set_row(s, 1, 420, {0});
  EXPECT_TRUE(hit_where_they_stand(s));
}

// ---- Moving and input.

TEST(CannonRowsInput, PiratesStayOnTheScreenAxisByAxis) {
  ROWS_STATE s = empty_shore();
  s.xVel1 = -10;
  s.yVel1 = -10;
  s.xVel2 = 10;
  for (int n = 0; n < 70; ++n) move(s);
  EXPECT_EQ(s.hitbox1.x, 0);
  EXPECT_EQ(s.hitbox1.y, 0);
  EXPECT_EQ(s.hitbox2.x, 560);
  EXPECT_EQ(s.hitbox2.y, 400);
  s.xVel1 = 10;
  s.yVel1 = 10;
  s.xVel2 = -10;
  s.yVel2 = 10;  // blocked at the bottom while x goes on
  for (int n = 0; n < 70; ++n) move(s);
  EXPECT_EQ(s.hitbox1.x, 560);
  EXPECT_EQ(s.hitbox1.y, 400);
  EXPECT_EQ(s.hitbox2.x, 0);
  EXPECT_EQ(s.hitbox2.y, 400);
  // One step from the edge: the step is taken, the next one undone.
  s.hitbox1.x = 550;
  move(s);
  EXPECT_EQ(s.hitbox1.x, 560);
}

TEST(CannonRowsInput, KeysSteerTheirOwnPirate) {
  struct CASE {
    SDLKey sym;
    int ROWS_STATE::*vel;
    int change;
    bool one;
  };
  const CASE cases[] = {
      {SDLK_UP, &ROWS_STATE::yVel1, -10, true},   {SDLK_DOWN, &ROWS_STATE::yVel1, 10, true},
      {SDLK_LEFT, &ROWS_STATE::xVel1, -10, true}, {SDLK_RIGHT, &ROWS_STATE::xVel1, 10, true},
      {SDLK_w, &ROWS_STATE::yVel2, -10, false},   {SDLK_s, &ROWS_STATE::yVel2, 10, false},
      {SDLK_a, &ROWS_STATE::xVel2, -10, false},   {SDLK_d, &ROWS_STATE::xVel2, 10, false},
  };
  for (const CASE& c : cases) {
    ROWS_STATE s = empty_shore();
    handle_event(s, harness::key_down(c.sym));
    EXPECT_EQ(s.*c.vel, c.change) << SDL_GetKeyName(c.sym);
    EXPECT_EQ(s.moved1, c.one);
    EXPECT_EQ(s.moved2, !c.one);
    EXPECT_EQ(s.xVel1 + s.yVel1 + s.xVel2 + s.yVel2, c.change) << "one velocity only";
    handle_event(s, harness::key_up(c.sym));
    EXPECT_EQ(s.*c.vel, 0);
    EXPECT_FALSE(s.end);
  }
}

TEST(CannonRowsInput, AKeyHeldOnEntryIsIgnoredUntilThatPlayersFirstPress) {
  ROWS_STATE s = empty_shore();
  // Down and S were held when the game began: their releases do nothing.
  handle_event(s, harness::key_up(SDLK_DOWN));
  handle_event(s, harness::key_up(SDLK_s));
  EXPECT_EQ(s.yVel1, 0);
  EXPECT_EQ(s.yVel2, 0);
  // Player two pressing does not unmask player one's releases.
  handle_event(s, harness::key_down(SDLK_a));
  handle_event(s, harness::key_up(SDLK_DOWN));
  EXPECT_EQ(s.yVel1, 0);
  EXPECT_FALSE(s.moved1);

  // After player one's first press, a release of a key whose press was
  // never counted changes the speed: the pirate drifts up on his own.
  handle_event(s, harness::key_down(SDLK_LEFT));
  handle_event(s, harness::key_up(SDLK_LEFT));
  handle_event(s, harness::key_up(SDLK_DOWN));
  EXPECT_EQ(s.xVel1, 0);
  EXPECT_EQ(s.yVel1, -10);
  move(s);
  move(s);
  EXPECT_EQ(s.hitbox1.y, 380);
  // Holding Down holds him still; letting go sets him drifting again.
  handle_event(s, harness::key_down(SDLK_DOWN));
  move(s);
  EXPECT_EQ(s.hitbox1.y, 380);
  handle_event(s, harness::key_up(SDLK_DOWN));
  move(s);
  EXPECT_EQ(s.hitbox1.y, 370);
}

TEST(CannonRowsInput, EscapeOrQuitEndTheGameOtherEventsChangeNothing) {
  ROWS_STATE s = empty_shore();
  handle_event(s, harness::key_down(SDLK_ESCAPE));
  EXPECT_TRUE(s.end);

  s = empty_shore();
  SDL_Event close;
  std::memset(&close, 0, sizeof close);
  close.type = SDL_QUIT;
  handle_event(s, close);
  EXPECT_TRUE(s.end);

  s = empty_shore();
  const ROWS_STATE before = s;
  SDL_Event motion;
  std::memset(&motion, 0, sizeof motion);
  motion.type = SDL_MOUSEMOTION;
  motion.motion.x = 12;
  for (const SDL_Event& e :
       {harness::key_up(SDLK_ESCAPE), harness::key_down(SDLK_SPACE), harness::key_down(SDLK_RCTRL),
        harness::key_down(SDLK_g), harness::key_up(SDLK_RETURN), motion}) {
    handle_event(s, e);
  }
  EXPECT_TRUE(same_state(s, before));
}

// ---- Whole games through mini3, on the virtual clock.

namespace {

// Where a pirate can stand under a row with these gaps, nearest to from.
int nearest_safe_x(const std::set<int>& gaps, int from) {
  int best = -1;
  for (int x = 0; x <= 560; x += 10) {
    bool safe = true;
    for (int m = 0; m < ROW_BALLS; ++m) {
      if (gaps.count(m) == 0 && 80 * m - 80 < x && x < 80 * m + 20) safe = false;
    }
    if (safe && (best < 0 || std::abs(x - from) < std::abs(best - from))) best = x;
  }
  return best;
}

// Holds a key for as many frames as it takes to walk from one x to another,
// starting with the frame after flip n.
void walk(int n, SDLKey left, SDLKey right, int from, int to) {
  if (to == from) return;
  const SDLKey k = to < from ? left : right;
  harness::after_flip(n, [k] { harness::tap_down(k); });
  harness::after_flip(n + std::abs(to - from) / 10, [k] { harness::tap_up(k); });
}

}  // namespace

class CannonRowsGame : public MINI_GAME_TEST {
 protected:
  void SetUp() override {
    MINI_GAME_TEST::SetUp();
    if (HasFatalFailure()) return;
    // From a known seed, these are the gaps mini3 will draw: row 0's first,
    // then row 1's, then those of the first rows fired again.
    std::srand(1234);
    for (int& d : draws) d = std::rand() % 8;
    std::srand(1234);
  }

  int draws[8] = {};
};

TEST_F(CannonRowsGame, EscapeEndsTheGameAfterItsFrameAndTheLastFrameStaysOneSecond) {
  quit = true;  // never read: the game runs regardless
  int score = 1000;
  const Uint32 t0 = harness::now();
  harness::after_flip(3, [] {
    harness::tap_up(SDLK_DOWN);
    harness::tap_down(SDLK_a);
    harness::press(SDLK_ESCAPE);
    harness::tap_down(SDLK_RETURN);
    harness::press(SDLK_SPACE);
  });
  mini3(score, screen);
  EXPECT_EQ(harness::flips(), 4);
  EXPECT_EQ(flip_times, (std::vector<Uint32>{t0, t0 + 40, t0 + 80, t0 + 120}));
  EXPECT_EQ(harness::now(), t0 + 120 + 40 + 1000);
  EXPECT_EQ(score, 1000);
  EXPECT_EQ(harness::drain_queue(), 0) << "every event is the mini-game's";
  expect_main_game_untouched(true);
}

TEST_F(CannonRowsGame, ClosingTheWindowEndsOnlyTheMiniGame) {
  quit = false;
  int score = 1000;
  harness::after_flip(2, [] {
    harness::push(harness::window_close());
    harness::tap_up(SDLK_ESCAPE);
  });
  mini3(score, screen);
  EXPECT_EQ(harness::flips(), 3);
  EXPECT_EQ(score, 1000);
  EXPECT_EQ(harness::drain_queue(), 0);
  expect_main_game_untouched(false);
}

TEST_F(CannonRowsGame, PiratesStandingStillAreHitWhenRowOneArrives) {
  // Row 1's gaps are draws 2 and 3; unless they are the corner balls 0 and
  // 7, a pirate in his corner is hit once row 1 reaches y 390.
  ASSERT_FALSE(std::set<int>({draws[2], draws[3]}) == std::set<int>({0, 7}));
  int score = 1000;
  const Uint32 t0 = harness::now();
  mini3(score, screen);
  EXPECT_EQ(harness::flips(), 76);
  EXPECT_EQ(score, 1000);
  EXPECT_EQ(harness::now(), t0 + 76 * 40 + 1000);
  expect_main_game_untouched(false);
}

TEST_F(CannonRowsGame, SteeringThroughTheGapsScoresEveryPass) {
  harness::capture_frames(true);
  const std::set<int> row0 = {draws[0], draws[1]}, row1 = {draws[2], draws[3]};
  // Under row 1 before it arrives (frame 76), then under row 0 once row 1
  // has passed (frame 121) and before row 0 arrives (frame 196).
  const int one_a = nearest_safe_x(row1, 560), two_a = nearest_safe_x(row1, 0);
  const int one_b = nearest_safe_x(row0, one_a), two_b = nearest_safe_x(row0, two_a);
  walk(1, SDLK_LEFT, SDLK_RIGHT, 560, one_a);
  walk(1, SDLK_a, SDLK_d, 0, two_a);
  walk(121, SDLK_LEFT, SDLK_RIGHT, one_a, one_b);
  walk(121, SDLK_a, SDLK_d, two_a, two_b);
  harness::press_after_flip(250, SDLK_ESCAPE);

  int score = 1000;
  std::vector<int> scores;
  std::vector<int> shots_after;  // cannon shots heard by the end of each frame
  const int shots_before = harness::plays("sfx/cannon.wav");
  harness::on_every_flip([&](int) {
    scores.push_back(score);
    shots_after.push_back(harness::plays("sfx/cannon.wav") - shots_before);
  });
  SDL_Surface* mid_game = nullptr;
  harness::after_flip(100, [&] { mid_game = harness::last_frame(); });
  mini3(score, screen);

  EXPECT_EQ(harness::flips(), 251) << "nobody was hit";
  EXPECT_EQ(score, 1000 + 2 * 3500);
  ASSERT_EQ(scores.size(), 251u);
  EXPECT_TRUE(std::is_sorted(scores.begin(), scores.end())) << "points are only ever added";
  EXPECT_EQ(scores[119], 1000);  // after frame 120
  EXPECT_EQ(scores[120], 4500);  // row 1 fired again in frame 121
  EXPECT_EQ(scores[239], 4500);
  EXPECT_EQ(scores[240], 8000);  // row 0 in frame 241
  EXPECT_EQ(shots_after[119], 0);
  EXPECT_EQ(shots_after[120], 1);
  EXPECT_EQ(shots_after[239], 1);
  EXPECT_EQ(shots_after[250], 2);
  EXPECT_EQ(harness::drain_queue(), 0);
  expect_main_game_untouched(false);

  ASSERT_NE(mid_game, nullptr);
  EXPECT_TRUE(harness::save_png(mid_game, std::string(GAME_DIR) + "/../rows_mid_game.png"));
  // After frame 100 row 1 shows at y 439: where the fall step left it, one
  // pixel above where the draw pass then moved it. Its gaps show the shore.
  SDL_Surface* ball = load("sprites/ball.bmp");
  SDL_Surface* shore = load("minigames/shore.png");
  ASSERT_NE(ball, nullptr);
  ASSERT_NE(shore, nullptr);
  auto rgb = [](SDL_Surface* s, int x, int y) {
    Uint8 r, g, b;
    harness::pixel_rgb(s, x, y, &r, &g, &b);
    return (r << 16) | (g << 8) | b;
  };
  int top = 0;  // the ball picture's first drawn pixel down its middle
  while (rgb(ball, 10, top) == 0x00FFFF) ++top;
  ASSERT_GT(top, 0);
  for (int j = 0; j < ROW_BALLS; ++j) {
    const int x = 80 * j + 10, y = 439 + top;
    const bool under_pirate = (x >= one_a && x < one_a + 80) || (x >= two_a && x < two_a + 80);
    if (under_pirate) continue;
    EXPECT_EQ(rgb(mid_game, x, y - 1), rgb(shore, x, y - 1)) << "ball " << j;
    EXPECT_EQ(rgb(mid_game, x, y), row1.count(j) ? rgb(shore, x, y) : rgb(ball, 10, top))
        << "ball " << j;
  }
  SDL_FreeSurface(ball);
  SDL_FreeSurface(shore);
  SDL_FreeSurface(mid_game);
}
