// The cannonball: its four paths, the exit test and the speed-up on every
// second launch, counted across games; its hit test, which a fast ball
// cannot jump across.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "cannonball.h"
#include "collision.h"
#include "play_fixture.h"

namespace {

// A seed whose first rand() % 4 is the wanted path.
unsigned seed_for_path(int path) {
  for (unsigned seed = 1;; ++seed) {
    std::srand(seed);
    if (std::rand() % 4 == path) return seed;
  }
}

void launch_on(CANNONBALL& launched, int path) {
  std::srand(seed_for_path(path));
  launched.start_over();
  ASSERT_EQ(launched.get_airway(), path);
}

// Launches until both speeds are at least speed.
void speed_up(CANNONBALL& ball, int speed) {
  while (ball.get_xvel() < speed || ball.get_yvel() < speed) ball.start_over();
}

struct PLACE {
  int x, y;
};

// Where the ball's next move takes it, before any relaunch.
PLACE next_place(CANNONBALL& ball) {
  const int path = ball.get_airway(), x = ball.get_x(), y = ball.get_y();
  if (path < 2) return {path == 0 ? x + ball.get_xvel() : x - ball.get_xvel(), y};
  return {x, path == 2 ? y + ball.get_yvel() : y - ball.get_yvel()};
}

}  // namespace

class CANNON : public GAME_TEST {
 protected:
  void SetUp() override {
    GAME_TEST::SetUp();
    ball = std::make_unique<CANNONBALL>();  // after the mixer has started
  }
  std::unique_ptr<CANNONBALL> ball;
};

TEST_F(CANNON, EachPathStartsAtItsEdgeWithThePathDrawnFirst) {
  for (int path = 0; path < 4; ++path) {
    const unsigned seed = seed_for_path(path);
    std::srand(seed);
    std::rand();
    const int free_coordinate = std::rand();
    std::srand(seed);
    ball->start_over();
    ASSERT_EQ(ball->get_airway(), path);
    switch (path) {
      case 0:
        EXPECT_EQ(ball->get_x(), 0);
        EXPECT_EQ(ball->get_y(), 20 + free_coordinate % 440);
        break;
      case 1:
        EXPECT_EQ(ball->get_x(), 640);
        EXPECT_EQ(ball->get_y(), 20 + free_coordinate % 440);
        break;
      case 2:
        EXPECT_EQ(ball->get_y(), 0);
        EXPECT_EQ(ball->get_x(), 20 + free_coordinate % 600);
        break;
      case 3:
        EXPECT_EQ(ball->get_y(), 480);
        EXPECT_EQ(ball->get_x(), 20 + free_coordinate % 600);
        break;
    }
  }
}

TEST_F(CANNON, EveryLaunchSoundsTheCannon) {
  const int before = harness::plays("sfx/cannon.wav");
  ball->start_over();
  ball->start_over();
  EXPECT_EQ(harness::plays("sfx/cannon.wav"), before + 2);
}

TEST_F(CANNON, EverySecondLaunchSpeedsUpItsOwnAxis) {
  launch_on(*ball, 2);
  EXPECT_EQ(ball->get_yvel(), 6);
  EXPECT_EQ(ball->get_xvel(), 5);
  launch_on(*ball, 0);
  EXPECT_EQ(ball->get_xvel(), 5) << "the second launch changes no speed";
  EXPECT_EQ(ball->get_yvel(), 6);
  launch_on(*ball, 1);
  EXPECT_EQ(ball->get_xvel(), 6);
  EXPECT_EQ(ball->get_rvel(), 3);
}

TEST_F(CANNON, ANewGameResetsTheSpeedButNotTheLaunchCount) {
  for (int i = 0; i < 7; ++i) ball->start_over();
  ball->zero_vel();
  EXPECT_EQ(ball->get_xvel(), 5);
  EXPECT_EQ(ball->get_yvel(), 5);
  EXPECT_EQ(ball->get_rvel(), 7);
  launch_on(*ball, 0);
  EXPECT_EQ(ball->get_xvel(), 5) << "the 8th launch is an even one: no speed-up";
}

TEST_F(CANNON, TheBallIsRelaunchedOnceItIsFortyPixelsOutAtEveryExit) {
  // At speed 5 from each edge: 685, -45, 525 and -45 are the first places
  // past 680, -40, 520 and -40.
  struct EXIT {
    int path, moves;
  };
  for (const EXIT exit : {EXIT{0, 137}, EXIT{1, 137}, EXIT{2, 105}, EXIT{3, 105}}) {
    SCOPED_TRACE(exit.path);
    if (ball->get_rvel() % 2 == 0) ball->start_over();  // the next launch is an odd one
    ball->zero_vel();
    launch_on(*ball, exit.path);
    ASSERT_EQ(exit.path < 2 ? ball->get_xvel() : ball->get_yvel(), 5);
    const int launches = ball->get_rvel();
    std::srand(99);
    int moves = 0;
    while (ball->get_rvel() == launches) {
      ball->move();
      ++moves;
      ASSERT_LT(moves, 1000);
    }
    EXPECT_EQ(moves, exit.moves);
  }
}

TEST_F(CANNON, FromTheRightAndTheBottomTheBallStartsOutOfSight) {
  launch_on(*ball, 1);
  EXPECT_EQ(ball->get_x(), 640);
  ball->move();
  EXPECT_LT(ball->get_x(), 640);
  EXPECT_EQ(ball->get_rvel(), 1) << "not relaunched";
  launch_on(*ball, 3);
  EXPECT_EQ(ball->get_y(), 480);
  ball->move();
  EXPECT_EQ(ball->get_rvel(), 2);
}

TEST_F(CANNON, OnlyTheCrossHitsNotTheCorners) {
  launch_on(*ball, 2);
  std::vector<SDL_Rect>& cross = ball->get_c_boxes();
  const int x = ball->get_x(), y = ball->get_y();
  std::vector<SDL_Rect> corner = {
      SDL_Rect{static_cast<Sint16>(x - 5), static_cast<Sint16>(y - 5), 10, 10}};
  EXPECT_FALSE(check_collision(corner, cross));
  std::vector<SDL_Rect> middle = {
      SDL_Rect{static_cast<Sint16>(x + 9), static_cast<Sint16>(y + 9), 2, 2}};
  EXPECT_TRUE(check_collision(middle, cross));
  std::vector<SDL_Rect> bar_end = {
      SDL_Rect{static_cast<Sint16>(x + 18), static_cast<Sint16>(y + 8), 1, 1}};
  EXPECT_TRUE(check_collision(bar_end, cross));
}

TEST_F(CANNON, AtTheSpeedsOfAnOrdinaryGameTheHitsAreThoseOfTheBallsPlaceAlone) {
  // A grid of pirates that shifts by ten pixels a frame, so that some run
  // along with the ball or meet it; the ball flies from launch to launch.
  PIRATE& pirate = *game.myPirate;
  std::srand(4321);
  ball->zero_vel();
  ball->start_over();
  long hits = 0, differences = 0, jumped_across = 0;
  for (int frame = 0; ball->get_xvel() <= 60 || ball->get_yvel() <= 60; ++frame) {
    ASSERT_LT(frame, 100000);
    ball->move();
    // No jump is longer than a pirate's box is high (28) or wide.
    const bool ordinary = ball->get_xvel() <= 28 && ball->get_yvel() <= 28;
    for (int x = 20; x <= 540; x += 40) {
      for (int y = -40; y <= 370; y += 30) {
        pirate.make_position(x + frame * 10 % 40, y + frame * 10 % 30);
        pirate.move();
        const bool where_it_is = check_collision(pirate.get_c_boxes(), ball->get_c_boxes());
        const bool hit = ball->hits(pirate.get_c_boxes());
        ASSERT_TRUE(hit || !where_it_is);
        if (ordinary) {
          hits += hit;
          differences += hit != where_it_is;
        } else {
          jumped_across += hit && !where_it_is;
        }
      }
    }
  }
  EXPECT_GT(hits, 5000);
  EXPECT_EQ(differences, 0);
  EXPECT_GT(jumped_across, 100) << "faster balls jump across pirates, and hit them";
}

class FAST_BALL : public PLAY_TEST {
 protected:
  // Plays one frame with pirate one at (x, y), standing, not a ghost, with
  // all his hearts; returns whether the ball hit him.
  bool hit_in_next_frame(int x, int y) {
    game.myPirate->not_ghost();
    game.lives1 = 3;
    game.myPirate->make_position(x, y);
    game.myPirate->move();
    play_frame(game);
    return game.lives1 < 3;
  }
};

// Pirate one's boxes span 42 x 56 pixels around (x + 37, y + 38).
TEST_F(FAST_BALL, ABallThatJumpsAcrossAPirateBetweenTwoFramesHitsHimButNotAcrossTheField) {
  begin(false);
  no_ghost_pickups();
  CANNONBALL& ball = *game.myCannonball;
  // Out at an ordinary speed and back in at an edge: whoever stands in the
  // row or column it left, behind it, is not hit.
  for (int path = 0; path < 4; ++path) {
    SCOPED_TRACE("leaving on path " + std::to_string(path));
    ball.zero_vel();
    launch_on(ball, path);
    for (PLACE next = next_place(ball);
         next.x >= -40 && next.x <= 680 && next.y >= -40 && next.y <= 520;
         next = next_place(ball)) {
      ball.move();
    }
    const int x = path < 2 ? 280 : ball.get_x() - 27, y = path < 2 ? ball.get_y() - 28 : 200;
    const int launches = ball.get_rvel();
    EXPECT_FALSE(hit_in_next_frame(x, y));
    EXPECT_EQ(ball.get_rvel(), launches + 1);
    ASSERT_FALSE(check_collision(game.myPirate->get_c_boxes(), ball.get_c_boxes()));
  }
  // At 150 a frame the ball jumps from wholly before to wholly past a pirate
  // standing halfway along its first move; at 700 it is relaunched in every
  // move, and crosses the whole field in it.
  for (const int speed : {150, 700}) {
    speed_up(ball, speed);
    for (int path = 0; path < 4; ++path) {
      SCOPED_TRACE("speed " + std::to_string(speed) + ", path " + std::to_string(path));
      launch_on(ball, path);
      const PLACE from = {ball.get_x(), ball.get_y()}, to = next_place(ball);
      const int mid_x = speed == 150 ? (from.x + to.x) / 2 : 290;
      const int mid_y = speed == 150 ? (from.y + to.y) / 2 : 210;
      const int x = path < 2 ? mid_x - 27 : from.x - 27, y = path < 2 ? from.y - 28 : mid_y - 28;
      const int launches = ball.get_rvel();
      EXPECT_TRUE(hit_in_next_frame(x, y));
      EXPECT_EQ(ball.get_rvel(), launches + (speed == 700));
      EXPECT_FALSE(check_collision(game.myPirate->get_c_boxes(), ball.get_c_boxes()))
          << "where it ended the ball missed him";
    }
  }
}
