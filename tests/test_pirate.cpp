// The pirates: keys to speed with the fresh-key-press rule, undone steps at
// the bounds, the sprite row and step, ghost mode.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "game_fixture.h"
#include "pirate.h"

namespace {

template <class P>
class PIRATES : public GAME_TEST {
 protected:
  static SDLKey up() { return P::player::up; }
  static SDLKey down() { return P::player::down; }
  static SDLKey left() { return P::player::left; }
  static SDLKey right() { return P::player::right; }
  void key_down(SDLKey key) { pirate.handle_input(harness::key_down(key)); }
  void key_up(SDLKey key) { pirate.handle_input(harness::key_up(key)); }
  // Places the pirate and lets one frame recompute its boxes.
  void place(int x, int y) {
    pirate.make_position(x, y);
    pirate.move();
  }
  typename P::type pirate;
};

template <class PLAYER>
struct PIRATE_OF {
  using player = PLAYER;
  using type = PIRATE_T<PLAYER>;
};

using BOTH = ::testing::Types<PIRATE_OF<PLAYER_ONE>, PIRATE_OF<PLAYER_TWO>>;
// Names each typed test by its player (PIRATES/PlayerOne.*) rather than by an index.
struct PLAYER_NAME {
  template <class T>
  static std::string GetName(int) {
    return std::is_same_v<typename T::player, PLAYER_ONE> ? "PlayerOne" : "PlayerTwo";
  }
};
TYPED_TEST_SUITE(PIRATES, BOTH, PLAYER_NAME);

}  // namespace

TYPED_TEST(PIRATES, PressAndReleaseLeaveTheSpeedWhereItWas) {
  this->key_down(this->left());
  EXPECT_EQ(this->pirate.get_xvel(), -10);
  this->key_up(this->left());
  EXPECT_EQ(this->pirate.get_xvel(), 0);
  this->key_down(this->up());
  this->key_down(this->right());
  EXPECT_EQ(this->pirate.get_yvel(), -10);
  EXPECT_EQ(this->pirate.get_xvel(), 10);
}

TYPED_TEST(PIRATES, OppositeKeysCancelAndTheHeldOneWinsOnRelease) {
  this->key_down(this->left());
  this->key_down(this->right());
  EXPECT_EQ(this->pirate.get_xvel(), 0);
  this->key_up(this->left());
  EXPECT_EQ(this->pirate.get_xvel(), 10);
  this->key_down(this->left());
  this->key_up(this->right());
  EXPECT_EQ(this->pirate.get_xvel(), -10);
}

TYPED_TEST(PIRATES, RepeatedKeyDownsNeverPassTheTopSpeed) {
  for (int i = 0; i < 3; ++i) this->key_down(this->down());
  EXPECT_EQ(this->pirate.get_yvel(), 10);
  for (int i = 0; i < 3; ++i) this->key_up(this->down());
  EXPECT_EQ(this->pirate.get_yvel(), -10) << "each release undoes one step, within the bounds";
  this->key_up(this->down());
  EXPECT_EQ(this->pirate.get_yvel(), -10);
}

TYPED_TEST(PIRATES, KeysHeldThroughAMiniGameDoNotPushBackWhenReleased) {
  this->key_down(this->up());
  this->pirate.zero_vel();
  this->pirate.not_moved();
  this->key_up(this->up());
  EXPECT_EQ(this->pirate.get_yvel(), 0);
  // A fresh key press of its own makes releases count again.
  this->key_down(this->left());
  this->key_up(this->up());
  EXPECT_EQ(this->pirate.get_yvel(), 10);
  EXPECT_EQ(this->pirate.get_xvel(), -10);
}

TYPED_TEST(PIRATES, OtherEventsChangeNothing) {
  this->pirate.handle_input(harness::window_close());
  this->key_down(SDLK_SPACE);
  this->key_up(SDLK_SPACE);
  EXPECT_EQ(this->pirate.get_xvel(), 0);
  EXPECT_EQ(this->pirate.get_yvel(), 0);
}

TYPED_TEST(PIRATES, StepsOutOfBoundsAreUndone) {
  this->place(530, 100);
  this->key_down(this->right());
  this->pirate.move();
  EXPECT_EQ(this->pirate.get_x(), 540);
  this->pirate.move();
  EXPECT_EQ(this->pirate.get_x(), 540);
  this->pirate.zero_vel();

  this->place(30, 100);
  this->key_down(this->left());
  this->pirate.move();
  this->pirate.move();
  this->pirate.move();
  EXPECT_EQ(this->pirate.get_x(), 20);
  this->pirate.zero_vel();

  // Undone, not clamped: from 15 the pirate can never step left.
  this->place(15, 100);
  this->key_down(this->left());
  this->pirate.move();
  EXPECT_EQ(this->pirate.get_x(), 15);
  this->pirate.zero_vel();

  this->place(100, -30);
  this->key_down(this->up());
  for (int i = 0; i < 3; ++i) this->pirate.move();
  EXPECT_EQ(this->pirate.get_y(), -40);
  this->pirate.zero_vel();

  this->place(100, 350);
  this->key_down(this->down());
  for (int i = 0; i < 5; ++i) this->pirate.move();
  EXPECT_EQ(this->pirate.get_y(), 370);
}

TYPED_TEST(PIRATES, HitBoxesFollowTheLastMove) {
  this->place(100, 200);
  this->pirate.make_position(300, 300);
  std::vector<SDL_Rect>& boxes = this->pirate.get_c_boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].x, 127);
  EXPECT_EQ(boxes[0].y, 210);
  this->pirate.move();
  EXPECT_EQ(boxes[0].x, 327);
  EXPECT_EQ(boxes[0].y, 310);
  EXPECT_EQ(boxes[0].w, 31);
  EXPECT_EQ(boxes[0].h, 28);
  EXPECT_EQ(boxes[1].x, 316);
  EXPECT_EQ(boxes[1].y, 338);
  EXPECT_EQ(boxes[1].w, 40);
  EXPECT_EQ(boxes[1].h, 28);
}

TYPED_TEST(PIRATES, TheSpriteRowShowsTheDirectionAndStepsCycle) {
  this->place(200, 200);
  this->key_down(this->left());
  std::vector<int> steps;
  for (int i = 0; i < 9; ++i) {
    this->pirate.show(screen);
    steps.push_back(this->pirate.get_frame());
  }
  EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 1, 2}));
  EXPECT_EQ(this->pirate.get_status(), 1);
  this->key_up(this->left());
  this->pirate.show(screen);
  EXPECT_EQ(this->pirate.get_status(), 1) << "standing keeps the last direction";
  EXPECT_EQ(this->pirate.get_frame(), 0);

  this->key_down(this->up());
  this->key_down(this->right());
  this->pirate.show(screen);
  EXPECT_EQ(this->pirate.get_status(), 0) << "diagonal: the horizontal direction decides";
  this->key_up(this->right());
  this->pirate.show(screen);
  EXPECT_EQ(this->pirate.get_status(), 2);
  this->key_up(this->up());
  this->key_down(this->down());
  this->pirate.show(screen);
  EXPECT_EQ(this->pirate.get_status(), 3);
}

TYPED_TEST(PIRATES, GhostModeIsAFlagNotACount) {
  this->pirate.go_ghost();
  this->pirate.go_ghost();
  EXPECT_TRUE(this->pirate.is_ghost());
  this->pirate.not_ghost();
  EXPECT_FALSE(this->pirate.is_ghost());
  this->pirate.die();
  EXPECT_TRUE(this->pirate.is_dead());
  EXPECT_FALSE(this->pirate.is_ghost());
  this->pirate.live();
  EXPECT_FALSE(this->pirate.is_dead());
}

class PIRATE_KEYS : public GAME_TEST {};

TEST_F(PIRATE_KEYS, PlayerOneIgnoresTheOtherPlayersKeys) {
  PIRATE& one = *game.myPirate;
  one.handle_input(harness::key_down(SDLK_w));
  one.handle_input(harness::key_down(SDLK_a));
  EXPECT_EQ(one.get_xvel(), 0);
  EXPECT_EQ(one.get_yvel(), 0);
  // After a mini-game only its own keys make its releases count again.
  one.handle_input(harness::key_down(SDLK_UP));
  one.zero_vel();
  one.not_moved();
  one.handle_input(harness::key_down(SDLK_w));
  one.handle_input(harness::key_up(SDLK_UP));
  EXPECT_EQ(one.get_yvel(), 0);
  one.handle_input(harness::key_down(SDLK_DOWN));
  one.handle_input(harness::key_up(SDLK_UP));
  EXPECT_EQ(one.get_yvel(), 10) << "a release never pushes past the top speed";
}

TEST_F(PIRATE_KEYS, PlayerTwoTakesAnyKeyPressAsFresh) {
  PIRATE2& two = *game.myPirate2;
  two.handle_input(harness::key_down(SDLK_w));
  two.zero_vel();
  two.not_moved();
  two.handle_input(harness::key_up(SDLK_w));
  EXPECT_EQ(two.get_yvel(), 0);
  // Player one's arrow key counts as a fresh press for player two.
  two.handle_input(harness::key_down(SDLK_UP));
  EXPECT_EQ(two.get_yvel(), 0);
  two.handle_input(harness::key_up(SDLK_w));
  EXPECT_EQ(two.get_yvel(), 10);
}
