// The cannonball: its four paths, the exit test and the speed-up on every
// second launch, counted across games.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "cannonball.h"
#include "collision.h"
#include "game_fixture.h"

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

TEST_F(CANNON, TheBallIsRelaunchedOnceItIsFortyPixelsOut) {
  ball->start_over();
  ball->zero_vel();
  launch_on(*ball, 0);  // an odd launch: still at speed 5
  ASSERT_EQ(ball->get_xvel(), 5);
  std::srand(99);
  int moves = 0;
  while (ball->get_rvel() == 2) {
    ball->move();
    ++moves;
    ASSERT_LT(moves, 1000);
  }
  EXPECT_EQ(moves, 137) << "685 is the first x past 680";
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
