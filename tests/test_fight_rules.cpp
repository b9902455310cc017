// The sword fight's rules, stepped frame by frame without a screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "harness.h"
#include "minigames/fight_rules.h"

namespace {

using fight::FIGHT_STATE;

bool down(FIGHT_STATE& s, SDLKey sym) { return fight::handle_input(s, harness::key_down(sym)); }
bool up(FIGHT_STATE& s, SDLKey sym) { return fight::handle_input(s, harness::key_up(sym)); }

// Steps until the fight ends; returns the frame (counted from 1) it ended in.
int frames_until_end(FIGHT_STATE& s, int& score, int limit = 1000) {
  for (int frame = 1; frame <= limit; ++frame) {
    fight::step(s, score);
    if (s.end) return frame;
  }
  return -1;
}

void step_n(FIGHT_STATE& s, int& score, int n) {
  for (int i = 0; i < n; ++i) fight::step(s, score);
}

// Lanes that can never reach the pirates: their y is moved off the deck.
void clear_lanes(FIGHT_STATE& s, std::vector<int> lanes) {
  for (int lane : lanes) s.Pirates[lane].hitbox.y = 2000;
}

class FightRules : public ::testing::Test {
 protected:
  void SetUp() override {
    std::srand(99);
    fight::start(s);
  }
  FIGHT_STATE s;
  int score = 0;
};

}  // namespace

TEST_F(FightRules, LanesEnterFromTheirSidesWithTypesDrawnInLaneOrder) {
  std::srand(7);
  std::vector<int> draws;
  for (int i = 0; i < 8; ++i) draws.push_back(std::rand());
  std::srand(7);
  fight::start(s);
  const int xs[] = {720, -80, 720, -80, 720, -80};
  const int ys[] = {200, 165, 300, 265, 400, 365};
  for (int i = 0; i < fight::LANES; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(s.Pirates[i].hitbox.x, xs[i]);
    EXPECT_EQ(s.Pirates[i].hitbox.y, ys[i]);
    EXPECT_EQ(s.Pirates[i].hitbox.w, i % 2 ? 60 : 80);
    EXPECT_EQ(s.Pirates[i].hitbox.h, 50);
    EXPECT_EQ(s.Pirates[i].type, i % 2 ? draws[i] % 2 + 2 : draws[i] % 2);
  }
  // Walking off the far side brings an enemy back at its entry with a new
  // type, drawn lane by lane in the same frame.
  s.Pirates[3].hitbox.x = 640;
  s.Pirates[4].hitbox.x = -80;
  clear_lanes(s, {0, 1, 2, 3, 4, 5});
  fight::step(s, score);
  EXPECT_EQ(s.Pirates[3].hitbox.x, -80);
  EXPECT_EQ(s.Pirates[3].type, draws[6] % 2 + 2);
  EXPECT_EQ(s.Pirates[4].hitbox.x, 720);
  EXPECT_EQ(s.Pirates[4].type, draws[7] % 2);
  // An enemy exactly at the edge has not yet left.
  s.Pirates[1].hitbox.x = 635;
  s.Pirates[0].hitbox.x = -75;
  fight::step(s, score);
  EXPECT_EQ(s.Pirates[1].hitbox.x, 640);
  EXPECT_EQ(s.Pirates[0].hitbox.x, -80);
}

TEST_F(FightRules, WithNoInputTheLeftEnemiesEndItInFrame62TheRightOnesIn74) {
  EXPECT_EQ(frames_until_end(s, score), 62);
  EXPECT_EQ(s.Pirates[1].hitbox.x, 230) << "walked once more after the contact test";
  EXPECT_EQ(score, 0);

  fight::start(s);
  clear_lanes(s, {1, 3, 5});
  EXPECT_EQ(frames_until_end(s, score), 74);
}

TEST_F(FightRules, AStrokeSavesAPirateFromTheEnemyThatJustWalkedIntoHim) {
  step_n(s, score, 60);
  ASSERT_FALSE(s.end);
  // In frame 61 lanes 1, 3 and 5 walk to x = 225, into both pirates. Both
  // strike at once: pirate one's stroke (y 200 to 280) reaches lanes 1 and
  // 3, pirate two's (y 300 to 380) lanes 3 and 5, but lane 3 is already
  // back at its entry when pirate two's stroke is tested.
  EXPECT_TRUE(down(s, SDLK_RCTRL));
  EXPECT_TRUE(down(s, SDLK_g));
  fight::step(s, score);
  EXPECT_EQ(score, 3000);
  for (int lane : {1, 3, 5}) EXPECT_EQ(s.Pirates[lane].hitbox.x, -80) << lane;
  fight::step(s, score);
  EXPECT_FALSE(s.end);
  EXPECT_EQ(score, 3000) << "nothing left in reach in the stroke's second frame";

  // One frame later the strokes still score, but the contact came first.
  fight::start(s);
  score = 0;
  step_n(s, score, 61);
  down(s, SDLK_RCTRL);
  down(s, SDLK_g);
  fight::step(s, score);
  EXPECT_TRUE(s.end);
  EXPECT_EQ(score, 3000);
}

TEST_F(FightRules, AStrokeToTheLeftAtTheEdgeStrikesReenteringEnemiesInBothFrames) {
  s.hitbox1.x = 0;
  // Lanes 1 and 3 leave on the right in the next walk and come straight
  // back at x = -80, under the stroke's box (x -40 to -21).
  s.Pirates[1].hitbox.x = 640;
  s.Pirates[3].hitbox.x = 640;
  ASSERT_TRUE(down(s, SDLK_RCTRL));
  EXPECT_EQ(s.shitbox1.x, -40);
  EXPECT_EQ(s.shitbox1.w, 20);

  fight::step(s, score);
  EXPECT_TRUE(s.slash1);
  EXPECT_EQ(score, 2000);
  EXPECT_EQ(s.Pirates[1].hitbox.x, -80);

  fight::step(s, score);  // back at -80, walked to -75, struck again
  EXPECT_TRUE(s.slash1);
  EXPECT_EQ(score, 4000);

  fight::step(s, score);
  EXPECT_FALSE(s.slash1) << "the stroke lasts the frame of the press and the next";
  EXPECT_EQ(score, 4000);
  EXPECT_EQ(s.Pirates[1].hitbox.x, -75);
  EXPECT_FALSE(s.end);
}

TEST_F(FightRules, FacingFollowsSidewaysMovementOnly) {
  clear_lanes(s, {0, 1, 2, 3, 4, 5});
  // Before any sideways walk a stroke goes to the left, also after moving up.
  down(s, SDLK_UP);
  fight::step(s, score);
  EXPECT_EQ(s.STATUS1, fight::LEFT);
  down(s, SDLK_RCTRL);
  EXPECT_EQ(s.shitbox1.x, 240);
  // The box stays where the stroke began while the pirate walks on.
  down(s, SDLK_RIGHT);
  fight::step(s, score);
  EXPECT_EQ(s.shitbox1.x, 240);
  EXPECT_EQ(s.shitbox1.y, 190);
  up(s, SDLK_RIGHT);
  up(s, SDLK_UP);

  down(s, SDLK_d);
  fight::step(s, score);
  EXPECT_EQ(s.STATUS2, fight::RIGHT);
  up(s, SDLK_d);
  down(s, SDLK_w);
  step_n(s, score, 3);
  EXPECT_EQ(s.STATUS2, fight::RIGHT) << "standing or moving up keeps the facing";
  down(s, SDLK_g);
  EXPECT_EQ(s.shitbox2.x, s.hitbox2.x + 100);

  // Pushing against the edge of the deck still turns the pirate.
  down(s, SDLK_LEFT);
  fight::step(s, score);
  ASSERT_EQ(s.STATUS1, fight::LEFT);
  up(s, SDLK_LEFT);
  s.hitbox1.x = 560;
  down(s, SDLK_RIGHT);
  fight::step(s, score);
  EXPECT_EQ(s.hitbox1.x, 560);
  EXPECT_EQ(s.STATUS1, fight::RIGHT);
}

TEST_F(FightRules, PiratesKeepToTheDeckAndAStepOverTheEdgeIsUndone) {
  clear_lanes(s, {0, 1, 2, 3, 4, 5});
  down(s, SDLK_LEFT);
  down(s, SDLK_UP);
  down(s, SDLK_d);
  down(s, SDLK_s);
  step_n(s, score, 40);
  EXPECT_EQ(s.hitbox1.x, 0);
  EXPECT_EQ(s.hitbox1.y, 100);
  EXPECT_EQ(s.hitbox2.x, 560);
  EXPECT_EQ(s.hitbox2.y, 400);

  // A step that would cross the edge is not cut short: the pirate stays.
  s.hitbox1.x = 10;
  s.hitbox1.y = 390;
  s.xVel1 = -20;
  s.yVel1 = 20;
  fight::step(s, score);
  EXPECT_EQ(s.hitbox1.x, 10);
  EXPECT_EQ(s.hitbox1.y, 390);
}

TEST_F(FightRules, KeyReleasesCountOnlyAfterThatPlayersFirstMovementKey) {
  clear_lanes(s, {0, 1, 2, 3, 4, 5});
  // Keys held from the main game and let go here must not move anyone.
  up(s, SDLK_LEFT);
  up(s, SDLK_w);
  EXPECT_EQ(s.xVel1, 0);
  EXPECT_EQ(s.yVel2, 0);

  // Once pirate one has pressed a key his releases count, any of his four;
  // pirate two's still do not.
  down(s, SDLK_DOWN);
  up(s, SDLK_LEFT);
  up(s, SDLK_a);
  EXPECT_EQ(s.yVel1, 10);
  EXPECT_EQ(s.xVel1, 10);
  EXPECT_EQ(s.xVel2, 0);
  up(s, SDLK_DOWN);
  EXPECT_EQ(s.yVel1, 0);

  down(s, SDLK_a);
  up(s, SDLK_a);
  up(s, SDLK_s);
  EXPECT_EQ(s.xVel2, 0);
  EXPECT_EQ(s.yVel2, -10);
}

TEST_F(FightRules, TheWaterScrollsOneScreenWidthAndStartsOver) {
  clear_lanes(s, {0, 1, 2, 3, 4, 5});
  fight::step(s, score);
  EXPECT_EQ(s.bgx, -2);
  step_n(s, score, 318);
  EXPECT_EQ(s.bgx, -638);
  fight::step(s, score);
  EXPECT_EQ(s.bgx, 0);
}

TEST_F(FightRules, PirateOnesStrokeIsResolvedBeforePirateTwos) {
  clear_lanes(s, {0, 2, 3, 4, 5});
  // Pirate two stands at the left edge, so his stroke covers the entry of
  // lane 1; pirate one's covers the enemy of lane 1 itself.
  s.hitbox2 = s.hitbox1;
  s.hitbox2.x = 0;
  s.Pirates[1].hitbox.x = 220;
  down(s, SDLK_RCTRL);
  down(s, SDLK_g);
  fight::step(s, score);
  EXPECT_EQ(score, 2000) << "sent back by pirate one, then struck again by pirate two";
  EXPECT_EQ(s.Pirates[1].hitbox.x, -80);
}
