// The trap run's rules, stepped frame by frame without a screen, and the
// whole run driven by scripted keys on the virtual clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <vector>

#include "mini_fixture.h"
#include "minigames/mini1.h"

using namespace trap_run;

namespace {

SDL_Event key(SDLKey k) { return harness::key_down(k); }

// One frame of rules in the driver's order: scroll, the frame's events, then
// the rest after the wait.
struct RUN {
  TRAP_RUN_STATE run;
  int score = 0;
  int jumps_sounded = 0;

  RUN() { set_up(run); }

  void frame(std::initializer_list<SDL_Event> events = {}) {
    scroll(run, score);
    for (const SDL_Event& e : events) {
      if (handle_event(run, e) == RUN_SOUND::JUMP) ++jumps_sounded;
    }
    step(run);
  }

  // Only the given slots exist; every other slot is empty. Nothing scrolls
  // when frames are stepped with step() alone.
  void only(int slot, int kind, int x, int top) {
    for (int i = 0; i < RUN_TILES; ++i) run.map[i] = EMPTY;
    run.map[slot] = kind;
    run.map_collision[slot].x = static_cast<Sint16>(x);
    run.map_collision[slot].y = static_cast<Sint16>(top);
  }

  int feet1() const { return run.hitbox1.y + run.hitbox1.h; }
  int feet2() const { return run.hitbox2.y + run.hitbox2.h; }
};

}  // namespace

TEST(TrapRunRules, TheFirstFrameLandsBothPiratesOnTheStartingGround) {
  std::srand(1);
  RUN r;
  r.frame();
  EXPECT_EQ(r.feet1(), 320);
  EXPECT_EQ(r.feet2(), 320);
  EXPECT_TRUE(r.run.coll1 && r.run.coll2);
  EXPECT_TRUE(r.run.jump1 && r.run.jump2);
  EXPECT_FALSE(r.run.end);
}

TEST(TrapRunRules, UpOrWInTheVeryFirstFrameStartsThatPiratesJump) {
  std::srand(1);
  RUN one;
  one.frame({key(SDLK_UP)});
  EXPECT_EQ(one.jumps_sounded, 1);
  EXPECT_EQ(one.run.hitbox1.y, 200);
  EXPECT_EQ(one.run.hitbox2.y, 240);

  RUN two;
  two.frame({key(SDLK_w)});
  EXPECT_EQ(two.jumps_sounded, 1);
  EXPECT_EQ(two.run.hitbox1.y, 240);
  EXPECT_EQ(two.run.hitbox2.y, 200);
}

TEST(TrapRunRules, AJumpRisesFiveTimesHangsTwoFramesThenFallsTwentyAFrame) {
  std::srand(1);
  RUN r;
  std::vector<int> ys;
  r.frame({key(SDLK_UP)});
  ys.push_back(r.run.hitbox1.y);
  for (int f = 2; f <= 7; ++f) {
    r.frame();
    ys.push_back(r.run.hitbox1.y);
  }
  EXPECT_EQ(ys, (std::vector<int>{200, 160, 120, 80, 40, 40, 40}));
  EXPECT_FALSE(r.run.jump1) << "still hanging in the second hanging frame";

  // From the third frame after the top, down 20 a frame back onto the ground.
  int y = 40;
  int frames = 0;
  while (!r.run.coll1 && frames < 20) {
    r.frame();
    ++frames;
    if (r.run.coll1) break;
    y += 20;
    EXPECT_EQ(r.run.hitbox1.y, y);
    EXPECT_TRUE(r.run.jump1);
  }
  EXPECT_TRUE(r.run.coll1);
  EXPECT_EQ(r.feet1(), 320);
  EXPECT_EQ(r.run.jump_h1, 0);
  EXPECT_FALSE(r.run.end);
  // Pirate two never left the ground.
  EXPECT_EQ(r.run.hitbox2.y, 240);
}

TEST(TrapRunRules, NoSecondJumpBeforeLanding) {
  std::srand(1);
  RUN r;
  r.frame({key(SDLK_UP)});
  r.frame({key(SDLK_UP)});  // rising
  EXPECT_EQ(r.run.hitbox1.y, 160);
  for (int f = 3; f <= 6; ++f) r.frame();
  r.frame({key(SDLK_UP)});  // hanging
  EXPECT_EQ(r.run.hitbox1.y, 40);
  r.frame();
  r.frame({key(SDLK_UP)});  // falling after the jump
  EXPECT_EQ(r.run.hitbox1.y, 80);
  EXPECT_EQ(r.jumps_sounded, 1);
  while (!r.run.coll1) r.frame();
  // Landed: the next press jumps again.
  r.frame({key(SDLK_UP)});
  EXPECT_EQ(r.jumps_sounded, 2);
  EXPECT_EQ(r.run.hitbox1.y, 200);
}

TEST(TrapRunRules, APirateWhoWalksOffAnEdgeCanJumpWhileFalling) {
  RUN r;
  r.only(0, GROUND, 300, 400);  // nothing under either pirate
  step(r.run);
  EXPECT_EQ(r.run.hitbox1.y, 260);
  EXPECT_TRUE(r.run.jump1);
  EXPECT_EQ(handle_event(r.run, key(SDLK_UP)), RUN_SOUND::JUMP);
  step(r.run);
  EXPECT_EQ(r.run.hitbox1.y, 220);
}

TEST(TrapRunRules, ARisingPirateLandsAtOnceWhenHisFeetMeetATileTop) {
  RUN r;
  r.only(0, GROUND, 0, 320);
  r.run.map[1] = GROUND;
  r.run.map_collision[1] = SDL_Rect{10, 240, 80, 80};  // one step up, overlapping him
  ASSERT_EQ(handle_event(r.run, key(SDLK_UP)), RUN_SOUND::JUMP);
  step(r.run);  // feet 280: the raised tile's top is above them, not solid
  EXPECT_FALSE(r.run.coll1);
  EXPECT_EQ(r.feet1(), 280);
  step(r.run);  // feet 240: on the raised tile
  EXPECT_TRUE(r.run.coll1);
  EXPECT_TRUE(r.run.jump1);
  EXPECT_EQ(r.run.jump_h1, 0);
  step(r.run);
  EXPECT_EQ(r.feet1(), 240) << "the rise ended on landing";
}

TEST(TrapRunRules, NeverMoreThanOneTrapInTheRow) {
  for (unsigned seed : {1u, 7u, 42u, 1234u, 99991u}) {
    std::srand(seed);
    RUN r;
    int traps_seen = 0;
    for (int f = 0; f < 4000; ++f) {
      scroll(r.run, r.score);
      int traps = 0;
      for (int kind : r.run.map) traps += kind == TRAP;
      ASSERT_LE(traps, 1) << "seed " << seed << " frame " << f;
      traps_seen += traps;
    }
    EXPECT_GT(traps_seen, 0) << "traps do come back in";
  }
}

TEST(TrapRunRules, EachReEntryDrawsHeightThenKindAndClampsAtTheEdges) {
  // Replay the generator: each tile that comes back takes two numbers, the
  // first for the height (odd up, even down), the second for the kind.
  const unsigned seed = 2024;
  std::srand(seed);
  std::vector<int> draws;
  for (int n = 0; n < 2000; ++n) draws.push_back(std::rand());
  std::srand(seed);

  RUN r;
  size_t next = 0;
  bool clamped_low = false, clamped_high = false;
  for (int f = 1; f <= 6400 && next + 2 <= draws.size(); ++f) {
    TRAP_RUN_STATE before = r.run;
    const int score_before = r.score;
    scroll(r.run, r.score);
    int came_back = 0;
    for (int i = 0; i < RUN_TILES; ++i) {
      if (before.map_collision[i].x - 10 > -80) {
        ASSERT_EQ(r.run.map_collision[i].x, before.map_collision[i].x - 10);
        continue;
      }
      ++came_back;
      ASSERT_EQ(r.run.map_collision[i].x, 560);
      const int height = draws[next++];
      const int kind = draws[next++];
      int top = before.map_collision[i].y + (height % 2 ? -80 : 80);
      if (top < 0) {
        top = 0;
        clamped_high = true;
      }
      if (top > 400) {
        top = 400;
        clamped_low = true;
      }
      ASSERT_EQ(r.run.map_collision[i].y, top) << "frame " << f;
      bool other_trap = false;
      for (int j = 0; j < RUN_TILES; ++j) {
        if (j != i && r.run.map[j] == TRAP) other_trap = true;
      }
      ASSERT_EQ(r.run.map[i], other_trap ? GROUND : kind % 2) << "frame " << f;
    }
    ASSERT_EQ(came_back, f % 8 == 0 ? 1 : 0) << "frame " << f;
    ASSERT_EQ(r.score - score_before, 250 * came_back);
  }
  EXPECT_TRUE(clamped_low);
  EXPECT_TRUE(clamped_high);
}

TEST(TrapRunRules, TwoHundredFiftyEveryEightFramesAndNothingElse) {
  std::srand(5);
  RUN r;
  r.score = 777;
  for (int f = 1; f <= 400; ++f) {
    // Jumps, landings, traps and falling out do not touch the score.
    r.frame({key(f % 3 ? SDLK_UP : SDLK_w), key(SDLK_ESCAPE)});
    ASSERT_EQ(r.score, 777 + 250 * (f / 8)) << "frame " << f;
  }
  EXPECT_EQ(r.score, 777 + 250 * 50);
}

TEST(TrapRunRules, LandingOnATrapEndsTheRunHoweverSmallTheOverlap) {
  struct CASE {
    int x;
    bool lands1, lands2;
  };
  // One pixel under either edge of either pirate; at 150 the edges only meet.
  for (CASE c : {CASE{69, true, true}, CASE{-79, true, false}, CASE{149, false, true},
                 CASE{150, false, false}}) {
    RUN r;
    r.only(3, TRAP, c.x, 320);
    step(r.run);
    EXPECT_EQ(r.run.coll1, c.lands1) << "trap at x " << c.x;
    EXPECT_EQ(r.run.coll2, c.lands2) << "trap at x " << c.x;
    EXPECT_EQ(r.run.end, c.lands1 || c.lands2) << "trap at x " << c.x;
  }
  // Falling onto it from above ends the run only once the feet reach it.
  RUN r;
  r.only(3, TRAP, 0, 400);
  r.run.map[0] = GROUND;
  r.run.map_collision[0] = SDL_Rect{80, 320, 80, 80};  // pirate two stays up
  for (int f = 0; f < 4; ++f) step(r.run);
  EXPECT_EQ(r.feet1(), 400);
  EXPECT_FALSE(r.run.end);
  step(r.run);
  EXPECT_TRUE(r.run.end);
}

TEST(TrapRunRules, PassingThroughARaisedTrapIsHarmless) {
  // From the side: a trap one or more steps up slides through pirate one
  // while he stands on the ground.
  for (int top : {240, 160, 0}) {
    for (int x = -70; x <= 60; x += 10) {
      RUN r;
      r.only(0, GROUND, 0, 320);
      r.run.map[4] = TRAP;
      r.run.map_collision[4] = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(top), 80, 80};
      step(r.run);
      EXPECT_TRUE(r.run.coll1);
      EXPECT_FALSE(r.run.end) << "trap at x " << x << " top " << top;
    }
  }
  // From below: a jump whose top stays under the trap's top goes through it
  // and back down.
  RUN r;
  r.only(0, GROUND, 0, 320);
  r.run.map[1] = GROUND;
  r.run.map_collision[1] = SDL_Rect{80, 320, 80, 80};  // pirate two's ground
  r.run.map[4] = TRAP;
  r.run.map_collision[4] = SDL_Rect{0, 80, 80, 80};
  ASSERT_EQ(handle_event(r.run, key(SDLK_UP)), RUN_SOUND::JUMP);
  int highest_feet = 320;
  for (int f = 0; f < 17; ++f) {
    step(r.run);
    if (r.feet1() < highest_feet) highest_feet = r.feet1();
    ASSERT_FALSE(r.run.end) << "step " << f;
  }
  EXPECT_EQ(highest_feet, 120);
  step(r.run);
  EXPECT_TRUE(r.run.coll1);
  EXPECT_EQ(r.feet1(), 320);
  EXPECT_FALSE(r.run.end);
}

TEST(TrapRunRules, FallingOutMeansPastFourHundredEighty) {
  for (int pirate = 1; pirate <= 2; ++pirate) {
    RUN r;
    r.only(0, GROUND, 300, 400);
    SDL_Rect& hitbox = pirate == 1 ? r.run.hitbox1 : r.run.hitbox2;
    hitbox.y = 460;
    step(r.run);
    EXPECT_EQ(hitbox.y, 480);
    EXPECT_FALSE(r.run.end) << "pirate " << pirate;
    step(r.run);
    EXPECT_EQ(hitbox.y, 500);
    EXPECT_TRUE(r.run.end) << "pirate " << pirate;
  }
}

TEST(TrapRunRules, WhichSlotsEachPirateStandsOn) {
  // Slots sit on multiples of ten as they scroll.
  for (int x = -90; x <= 160; x += 10) {
    RUN r;
    r.only(5, GROUND, x, 320);
    step(r.run);
    EXPECT_EQ(r.run.coll1, x >= -70 && x <= 60) << "slot x " << x;
    EXPECT_EQ(r.run.coll2, x >= 10 && x <= 140) << "slot x " << x;
  }
}

TEST(TrapRunRules, EscapeAndWindowCloseEndTheRunAndOtherEventsDoNothing) {
  for (const SDL_Event& e : {key(SDLK_ESCAPE), harness::window_close()}) {
    RUN r;
    EXPECT_EQ(handle_event(r.run, e), RUN_SOUND::NONE);
    EXPECT_TRUE(r.run.end);
  }
  RUN idle;
  idle.frame({harness::key_up(SDLK_UP), harness::key_up(SDLK_ESCAPE), key(SDLK_DOWN),
              key(SDLK_SPACE), key(SDLK_s)});
  EXPECT_EQ(idle.jumps_sounded, 0);
  EXPECT_EQ(idle.run.hitbox1.y, 240);
  EXPECT_EQ(idle.run.hitbox2.y, 240);
  EXPECT_FALSE(idle.run.end);
}

// ---- The whole run through mini1, on the virtual clock.

namespace {

class TrapRunDriver : public MINI_GAME_TEST {
 protected:
  void SetUp() override { MINI_GAME_TEST::SetUp(); }

  // The run never touches the game flow's event record or its quit flag.
};

}  // namespace

TEST_F(TrapRunDriver, EscapeInTheFirstFrameEndsAfterItWithTheScoreUnchanged) {
  harness::press(SDLK_ESCAPE);
  harness::press(SDLK_UP);  // after Escape in the same batch: still read
  int score = 5000;
  const Uint32 started = harness::now();
  mini1(score, screen);
  EXPECT_EQ(harness::flips(), 1);
  EXPECT_EQ(score, 5000);
  EXPECT_EQ(harness::plays("sfx/jump.wav"), 1);
  EXPECT_EQ(harness::drain_queue(), 0);
  EXPECT_EQ(last_flip_at() - started, 0u);
  EXPECT_EQ(harness::now() - last_flip_at(), 40u + 1000u) << "the frame's wait, then one second";
  expect_main_game_untouched();
}

TEST_F(TrapRunDriver, AWindowCloseEndsOnlyTheRun) {
  int score = 0;
  harness::after_flip(20, [] {
    harness::push(harness::window_close());
    harness::press(SDLK_w);
  });
  mini1(score, screen);
  EXPECT_EQ(harness::flips(), 21);
  EXPECT_EQ(score, 250 * (21 / 8));
  EXPECT_EQ(harness::drain_queue(), 0);
  EXPECT_EQ(harness::now() - last_flip_at(), 1040u);
  expect_main_game_untouched();
}

TEST_F(TrapRunDriver, PlayedRunsOnlyAddTheirTilesToTheScore) {
  // Both players keep jumping; the run ends by Escape, a trap or a fall.
  std::map<int, int> pushed;  // events pushed after each flip
  harness::on_every_flip([&pushed](int n) {
    if (n % 5 == 0) harness::press(SDLK_UP);
    if (n % 7 == 0) harness::press(SDLK_w);
    if (n == 300) harness::press(SDLK_ESCAPE);
    pushed[n] = 2 * ((n % 5 == 0) + (n % 7 == 0) + (n == 300));
  });
  int score = 123;
  mini1(score, screen);
  const int frames = harness::flips();
  EXPECT_LE(frames, 301);
  EXPECT_EQ(score, 123 + 250 * (frames / 8));
  // What came after the last frame is used up by the closing second.
  EXPECT_GT(pushed[frames], 0);
  EXPECT_EQ(harness::drain_queue(), 0);
  EXPECT_EQ(harness::now() - last_flip_at(), 1040u);
  const int presses_read = (frames - 1) / 5 + (frames - 1) / 7;
  EXPECT_GE(harness::plays("sfx/jump.wav"), 2);
  EXPECT_LE(harness::plays("sfx/jump.wav"), presses_read);
  expect_main_game_untouched();
}

TEST_F(TrapRunDriver, ARunNobodyPlaysEndsByItself) {
  harness::set_limits(10 * 60 * 1000, 20000);
  int score = 0;
  mini1(score, screen);
  EXPECT_GT(harness::flips(), 8);
  EXPECT_EQ(score, 250 * (harness::flips() / 8));
  expect_main_game_untouched();
}

TEST_F(TrapRunDriver, AMidRunFrameShowsTheGroundThePiratesAndTheScore) {
  harness::capture_frames(true);
  SDL_Surface* picture = nullptr;
  harness::press_after_flip(3, SDLK_UP);
  harness::after_flip(6, [&] {
    picture = harness::last_frame();
    harness::press(SDLK_ESCAPE);
  });
  int score = 4321;
  mini1(score, screen);
  ASSERT_NE(picture, nullptr);
  EXPECT_TRUE(harness::save_png(picture, std::string(GAME_DIR) + "/../trap_run_frame.png"));
  // Frame 6 drew the tiles after five scrolls: a ground tile spans x 30..109
  // at y 320..399, and no tile is drawn above y 320 at x 600.
  Uint8 r1, g1, b1, r2, g2, b2;
  harness::pixel_rgb(picture, 100, 360, &r1, &g1, &b1);
  harness::pixel_rgb(picture, 100, 200, &r2, &g2, &b2);
  EXPECT_FALSE(r1 == r2 && g1 == g2 && b1 == b2) << "ground and sky differ";
  SDL_FreeSurface(picture);
}
