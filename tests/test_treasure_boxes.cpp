// The treasure boxes' rules, pass by pass without a screen, and the whole
// game driven by scripted keys on the virtual clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <set>

#include "mini_fixture.h"
#include "minigames/mini2.h"

using namespace treasure_boxes;

namespace {

SDL_Event key(SDLKey k) { return harness::key_down(k); }

bool same(const BOXES_STATE& a, const BOXES_STATE& b) {
  for (int k = 0; k < BOX_COUNT; ++k) {
    if (a.treasures[k] != b.treasures[k]) return false;
  }
  return a.choose1 == b.choose1 && a.choose2 == b.choose2 && a.where == b.where && a.end == b.end;
}

// One pass of rules in the driver's order: the batch of events, then the
// opening of the boxes.
struct CAVE {
  BOXES_STATE boxes;
  int score = 0;
  int digs = 0;
  int treasure_sounds = 0;

  explicit CAVE(int where) {
    set_up(boxes);
    boxes.where = where;
  }

  void pass(std::initializer_list<SDL_Event> events) {
    for (const SDL_Event& e : events) digs += handle_event(boxes, e);
    if (step(boxes, score)) ++treasure_sounds;
  }
};

}  // namespace

TEST(TreasureBoxRules, TheTreasureBoxIsDrawnWithOneRandomNumber) {
  std::set<int> seen;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::srand(seed);
    const int expected = std::rand() % 4;
    std::srand(seed);
    BOXES_STATE boxes;
    set_up(boxes);
    EXPECT_EQ(boxes.where, expected);
    seen.insert(boxes.where);
    EXPECT_TRUE(boxes.choose1 && boxes.choose2);
    EXPECT_FALSE(boxes.end);
    for (bool opened : boxes.treasures) EXPECT_FALSE(opened);
  }
  EXPECT_EQ(seen.size(), 4u);
}

TEST(TreasureBoxRules, PlayerOneFindingTheTreasureEndsWithoutWaitingForPlayerTwo) {
  CAVE b(2);
  b.pass({key(SDLK_DOWN)});
  EXPECT_EQ(b.score, 10000);
  EXPECT_EQ(b.treasure_sounds, 1);
  EXPECT_TRUE(b.boxes.end);
  EXPECT_TRUE(b.boxes.choose2) << "player two never picked";
  EXPECT_EQ(b.digs, 2);
}

TEST(TreasureBoxRules, EveryKeyOpensItsOwnBox) {
  const SDLKey one[4] = {SDLK_UP, SDLK_LEFT, SDLK_DOWN, SDLK_RIGHT};
  const SDLKey two[4] = {SDLK_w, SDLK_a, SDLK_s, SDLK_d};
  for (int k = 0; k < 4; ++k) {
    CAVE b1(k);
    b1.pass({key(one[k])});
    EXPECT_EQ(b1.score, 10000) << "player one, box " << k;
    CAVE b2(k);
    b2.pass({key(two[k])});
    EXPECT_EQ(b2.score, 10000) << "player two, box " << k;
    EXPECT_TRUE(b2.boxes.choose1);
  }
}

TEST(TreasureBoxRules, BothMissingAddsNothingAndLeavesTheTreasureBoxClosed) {
  {
    CAVE b(0);
    b.pass({key(SDLK_LEFT)});
    EXPECT_FALSE(b.boxes.end) << "player two still has his pick";
    b.pass({key(SDLK_d)});
    EXPECT_TRUE(b.boxes.end);
    EXPECT_EQ(b.score, 0);
    EXPECT_EQ(b.treasure_sounds, 0);
    EXPECT_FALSE(b.boxes.treasures[0]);
    EXPECT_TRUE(b.boxes.treasures[1]);
    EXPECT_TRUE(b.boxes.treasures[3]);
    EXPECT_EQ(b.digs, 2 + 1);
  }
  {
    CAVE b(3);
    b.pass({key(SDLK_a), key(SDLK_DOWN)});  // both in one batch
    EXPECT_TRUE(b.boxes.end);
    EXPECT_EQ(b.score, 0);
    EXPECT_FALSE(b.boxes.treasures[3]);
  }
}

TEST(TreasureBoxRules, BothPickingTheTreasureBoxInOneBatchPaysOnce) {
  CAVE b(1);
  b.pass({key(SDLK_LEFT), key(SDLK_a)});
  EXPECT_EQ(b.score, 10000);
  EXPECT_EQ(b.treasure_sounds, 1);
  EXPECT_TRUE(b.boxes.end);
}

TEST(TreasureBoxRules, PlayerTwoPickingAnOpenedBoxStillUsesHisPick) {
  CAVE b(3);
  b.pass({key(SDLK_UP)});
  EXPECT_FALSE(b.boxes.end);
  b.pass({key(SDLK_w)});
  EXPECT_FALSE(b.boxes.choose2);
  EXPECT_TRUE(b.boxes.end);
  EXPECT_EQ(b.score, 0);
  // A later key of his opens nothing.
  b.pass({key(SDLK_d)});
  EXPECT_FALSE(b.boxes.treasures[3]);
  EXPECT_EQ(b.score, 0);
}

TEST(TreasureBoxRules, AKeyNamingNoBoxDigsOncePerPlayerWithAPick) {
  CAVE b(0);
  const BOXES_STATE before = b.boxes;
  b.pass({key(SDLK_SPACE)});
  EXPECT_EQ(b.digs, 2);
  EXPECT_TRUE(same(before, b.boxes)) << "nothing else changed";

  // Player one's key digs once for him and once more for player two.
  b.pass({key(SDLK_RIGHT)});
  EXPECT_EQ(b.digs, 4);
  // With only player two left, a key that is not his still digs once.
  b.pass({key(SDLK_LEFT)});
  EXPECT_EQ(b.digs, 5);
  EXPECT_FALSE(b.boxes.treasures[1]);
  EXPECT_TRUE(b.boxes.choose2);

  // Releases and window-close requests never dig.
  CAVE quiet(0);
  quiet.pass({harness::key_up(SDLK_UP), harness::window_close()});
  EXPECT_EQ(quiet.digs, 0);
  EXPECT_TRUE(quiet.boxes.choose1);
}

TEST(TreasureBoxRules, EscapeEndsWithoutScoreUnlessTheSameBatchFoundTheTreasure) {
  {
    CAVE b(2);
    b.pass({key(SDLK_ESCAPE)});
    EXPECT_TRUE(b.boxes.end);
    EXPECT_EQ(b.score, 0);
    EXPECT_EQ(b.digs, 2) << "Escape is a key press too";
  }
  {
    CAVE b(2);
    b.pass({key(SDLK_ESCAPE), key(SDLK_DOWN)});
    EXPECT_EQ(b.score, 10000);
    EXPECT_EQ(b.treasure_sounds, 1);
  }
  {
    CAVE b(2);
    b.pass({key(SDLK_s), key(SDLK_ESCAPE)});
    EXPECT_EQ(b.score, 10000);
  }
  {
    CAVE b(2);
    b.pass({key(SDLK_UP), harness::window_close()});
    EXPECT_TRUE(b.boxes.end);
    EXPECT_EQ(b.score, 0);
  }
}

// ---- The whole game through mini2, on the virtual clock.

namespace {

class TreasureBoxDriver : public MINI_GAME_TEST {
 protected:
  void SetUp() override {
    MINI_GAME_TEST::SetUp();
    // The box the game will hide the treasure in, from a known seed.
    std::srand(1234);
    where = std::rand() % 4;
    std::srand(1234);
  }

  int where = 0;
};

const SDLKey ONE_KEYS[4] = {SDLK_UP, SDLK_LEFT, SDLK_DOWN, SDLK_RIGHT};
const SDLKey TWO_KEYS[4] = {SDLK_w, SDLK_a, SDLK_s, SDLK_d};

}  // namespace

TEST_F(TreasureBoxDriver, EscapeEndsAfterOnePassWithTheScoreUnchanged) {
  harness::press(SDLK_ESCAPE);
  harness::press(SDLK_SPACE);
  int score = 900;
  mini2(score, screen);
  EXPECT_EQ(harness::flips(), 1);
  EXPECT_EQ(score, 900);
  EXPECT_EQ(harness::plays("sfx/dig.wav"), 4) << "two keys, each dug for both players";
  EXPECT_EQ(harness::drain_queue(), 0);
  EXPECT_EQ(harness::now() - last_flip_at(), 40u + 1000u) << "the pass's frame, then one second";
  expect_main_game_untouched();
}

TEST_F(TreasureBoxDriver, AWindowCloseEndsOnlyTheBoxes) {
  harness::after_flip(10, [] { harness::push(harness::window_close()); });
  int score = 0;
  mini2(score, screen);
  EXPECT_EQ(harness::flips(), 11);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(harness::drain_queue(), 0);
  expect_main_game_untouched();
}

TEST_F(TreasureBoxDriver, PassesArePacedAtFortyMilliseconds) {
  harness::at_time(2000, [] { harness::press(SDLK_ESCAPE); });
  int score = 0;
  mini2(score, screen);
  EXPECT_NEAR(harness::flips(), 50, 1);
  EXPECT_EQ(harness::now() - last_flip_at(), 1040u);
}

TEST_F(TreasureBoxDriver, FindingTheTreasureAddsTenThousandOnce) {
  const SDLKey mine = ONE_KEYS[where];
  const SDLKey theirs = TWO_KEYS[where];
  harness::after_flip(3, [=] {
    harness::press(mine);
    harness::press(theirs);
  });
  int score = 50;
  mini2(score, screen);
  EXPECT_EQ(harness::flips(), 4);
  EXPECT_EQ(score, 10050);
  EXPECT_EQ(harness::plays("sfx/treasure.wav"), 1);
  EXPECT_EQ(harness::plays("sfx/dig.wav"), 2 + 1);
  EXPECT_EQ(harness::drain_queue(), 0);
  EXPECT_EQ(harness::now() - last_flip_at(), 1040u);
  expect_main_game_untouched();
}

TEST_F(TreasureBoxDriver, TwoMissesEndTheGameAndShowTheOpenedBoxes) {
  harness::capture_frames(true);
  const int miss1 = (where + 1) % 4;
  const int miss2 = (where + 2) % 4;
  SDL_Surface* picture = nullptr;
  harness::press_after_flip(2, ONE_KEYS[miss1]);
  harness::after_flip(4, [&] { picture = harness::last_frame(); });
  harness::press_after_flip(5, TWO_KEYS[miss2]);
  int score = 0;
  mini2(score, screen);
  EXPECT_EQ(harness::flips(), 6);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(harness::plays("sfx/treasure.wav"), 0);
  EXPECT_EQ(harness::plays("sfx/dig.wav"), 2 + 1);
  ASSERT_NE(picture, nullptr);
  EXPECT_TRUE(harness::save_png(picture, std::string(GAME_DIR) + "/../treasure_boxes_frame.png"));
  // The opened box looks different from the closed ones.
  Uint8 r1, g1, b1, r2, g2, b2;
  const int open_x = 40 + 160 * miss1 + 30, closed_x = 40 + 160 * where + 30;
  int differing = 0;
  for (int y = 345; y < 455; y += 5) {
    harness::pixel_rgb(picture, open_x, y, &r1, &g1, &b1);
    harness::pixel_rgb(picture, closed_x, y, &r2, &g2, &b2);
    if (r1 != r2 || g1 != g2 || b1 != b2) ++differing;
  }
  EXPECT_GT(differing, 3);
  SDL_FreeSurface(picture);
}
