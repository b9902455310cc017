// The coin, the ruby and the ghost pirate, and the treasure with its pieces.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "coin.h"
#include "collision.h"
#include "game_fixture.h"
#include "minigames/funcs.h"
#include "pickup.h"
#include "treasure.h"

namespace {

std::vector<SDL_Rect> boxes_at(int x, int y, int w, int h) { return {rect(x, y, w, h)}; }

// The two boxes of a pirate standing at (x, y).
std::vector<SDL_Rect> pirate_at(int x, int y) {
  return {SDL_Rect{static_cast<Sint16>(x + 27), static_cast<Sint16>(y + 10), 31, 28},
          SDL_Rect{static_cast<Sint16>(x + 16), static_cast<Sint16>(y + 38), 40, 28}};
}

}  // namespace

class PICKUPS : public GAME_TEST {};

TEST_F(PICKUPS, PlacesStayInsideTheirRanges) {
  COIN coin;
  RUBY ruby;
  GHOSTPIRATE ghost;
  int max_coin = 0, max_ruby = 0, max_ghost = 0, min_x = 1000, min_y = 1000, max_y = 0;
  for (int i = 0; i < 3000; ++i) {
    coin.replace();
    ruby.collect();
    ruby.replace();
    ghost.collect();
    ghost.replace();
    max_coin = std::max(max_coin, coin.get_x());
    max_ruby = std::max(max_ruby, ruby.get_x());
    max_ghost = std::max(max_ghost, ghost.get_x());
    min_x = std::min({min_x, coin.get_x() - 10, ruby.get_x(), ghost.get_x()});
    min_y = std::min({min_y, coin.get_y(), ruby.get_y(), ghost.get_y()});
    max_y = std::max({max_y, coin.get_y(), ruby.get_y(), ghost.get_y()});
  }
  EXPECT_EQ(max_coin, 559);
  EXPECT_EQ(max_ruby, 589);
  EXPECT_EQ(max_ghost, 579);
  EXPECT_EQ(min_x, 30);
  EXPECT_EQ(min_y, 40);
  EXPECT_EQ(max_y, 414);
}

TEST_F(PICKUPS, CoinDrawsXThenYAndSoundsEveryTime) {
  COIN coin;
  std::srand(7);
  const int rx = std::rand(), ry = std::rand();
  std::srand(7);
  const int before = harness::plays("sfx/coin.wav");
  coin.replace();
  EXPECT_EQ(coin.get_x(), 40 + rx % 520);
  EXPECT_EQ(coin.get_y(), 40 + ry % 375);
  EXPECT_EQ(harness::plays("sfx/coin.wav"), before + 1);
  std::vector<SDL_Rect>& box = coin.get_c_boxes();
  ASSERT_EQ(box.size(), 1u);
  EXPECT_EQ(box[0].x, coin.get_x());
  EXPECT_EQ(box[0].y, coin.get_y());
  EXPECT_EQ(box[0].w, 40);
  EXPECT_EQ(box[0].h, 40);
}

TEST_F(PICKUPS, RubyAppearsOnceAndStaysWhereItIs) {
  RUBY ruby;
  EXPECT_TRUE(ruby.is_collected());
  ruby.replace();
  EXPECT_FALSE(ruby.is_collected());
  const int x = ruby.get_x(), y = ruby.get_y();
  ruby.replace();  // already on the playfield: it stays
  EXPECT_EQ(ruby.get_x(), x);
  EXPECT_EQ(ruby.get_y(), y);
  const int plays = harness::total_plays();
  ruby.collect();
  EXPECT_TRUE(ruby.is_collected());
  EXPECT_EQ(harness::total_plays(), plays + 1);
  EXPECT_EQ(harness::plays("sfx/ruby.wav"), 1);
}

TEST_F(PICKUPS, ReplacingAPickupOnThePlayfieldDrawsNoRandomNumber) {
  GHOSTPIRATE ghost;
  ghost.replace();
  std::srand(55);
  const int expected = std::rand();
  std::srand(55);
  ghost.replace();
  EXPECT_EQ(std::rand(), expected);
}

TEST_F(PICKUPS, TheAnimationFreezesWhileCollected) {
  GHOSTPIRATE ghost;
  ghost.replace();
  for (int i = 0; i < 5; ++i) ghost.show(screen);
  EXPECT_EQ(ghost.get_frame(), 5);
  ghost.collect();
  EXPECT_EQ(harness::plays("sfx/ghost.wav"), 1);
  for (int i = 0; i < 5; ++i) ghost.show(screen);
  EXPECT_EQ(ghost.get_frame(), 5);
  ghost.replace();
  ghost.show(screen);
  EXPECT_EQ(ghost.get_frame(), 6);
  // A 15-frame cycle: 14 is the last step, then back to 0.
  for (int i = 0; i < 8; ++i) ghost.show(screen);
  EXPECT_EQ(ghost.get_frame(), 14);
  ghost.show(screen);
  EXPECT_EQ(ghost.get_frame(), 0);
}

TEST_F(PICKUPS, ACollectedPickupDrawsNothing) {
  RUBY ruby;
  ruby.replace();
  SDL_FillRect(screen, nullptr, 0);
  ruby.collect();
  ruby.show(screen);
  Uint8 r, g, b;
  int lit = 0;
  for (int y = ruby.get_y(); y < ruby.get_y() + 70 && y < 480; ++y) {
    for (int x = ruby.get_x(); x < ruby.get_x() + 40; ++x) {
      harness::pixel_rgb(screen, x, y, &r, &g, &b);
      lit += (r | g | b) != 0;
    }
  }
  EXPECT_EQ(lit, 0);
  ruby.replace();
  ruby.show(screen);
  for (int y = ruby.get_y(); y < ruby.get_y() + 70 && y < 480; ++y) {
    for (int x = ruby.get_x(); x < ruby.get_x() + 40; ++x) {
      harness::pixel_rgb(screen, x, y, &r, &g, &b);
      lit += (r | g | b) != 0;
    }
  }
  EXPECT_GT(lit, 100);
}

class TREASURES : public GAME_TEST {
 protected:
  void SetUp() override {
    GAME_TEST::SetUp();
    treasure = std::make_unique<TREASURE>();  // after the mixer has started
    treasure->replace();
  }
  std::unique_ptr<TREASURE> treasure;
};

TEST_F(TREASURES, AClosedNewChestPaysNothing) {
  int score = 0;
  std::vector<SDL_Rect> everything = boxes_at(0, 0, 640, 480);
  treasure->gather(everything, score);
  EXPECT_EQ(score, 0);
  EXPECT_FALSE(treasure->is_collected());
  ASSERT_EQ(treasure->get_c_boxes().size(), 1u);
  EXPECT_EQ(treasure->get_c_boxes()[0].w, 40);
  EXPECT_EQ(treasure->get_c_boxes()[0].h, 70);
}

TEST_F(TREASURES, AWholeTreasureIsWorth49Pieces) {
  treasure->collect();
  EXPECT_EQ(harness::plays("sfx/treasure.wav"), 1);
  int score = 0;
  std::vector<SDL_Rect> everything = boxes_at(0, 0, 640, 480);
  treasure->gather(everything, score);
  EXPECT_EQ(score, 49 * 500);
  EXPECT_EQ(harness::plays("sfx/coin.wav"), 49);
  treasure->gather(everything, score);
  EXPECT_EQ(score, 49 * 500) << "gathered pieces are gone";
}

TEST_F(TREASURES, APirateOnTwoRowsGathersBothInOneCall) {
  treasure->collect();
  int score = 0;
  std::vector<SDL_Rect> pirate = pirate_at(290, 220);
  treasure->gather(pirate, score);
  EXPECT_EQ(score, 1000);
  EXPECT_FALSE(treasure->piece_up(3, 3));
  EXPECT_FALSE(treasure->piece_up(3, 4));
  EXPECT_TRUE(treasure->piece_up(2, 3));
  treasure->gather(pirate, score);
  EXPECT_EQ(score, 1000) << "standing still pays once";
}

TEST_F(TREASURES, PiecesAreGatheredFromSquaresAboveWhereTheyAreDrawn) {
  treasure->collect();
  int score = 0;
  // Row 0 is drawn from y 30 to 100 but gathered from y 0 to 40 (row 1
  // from y 68).
  std::vector<SDL_Rect> lower_picture = boxes_at(30, 41, 40, 26);
  treasure->gather(lower_picture, score);
  EXPECT_EQ(score, 0);
  EXPECT_TRUE(treasure->piece_up(0, 0));
  std::vector<SDL_Rect> square = boxes_at(69, 39, 1, 1);
  treasure->gather(square, score);
  EXPECT_EQ(score, 500);
}

TEST_F(TREASURES, HiddenPiecesStillPayAfterTheChestCloses) {
  treasure->collect();
  treasure->replace();
  EXPECT_FALSE(treasure->is_collected());
  int score = 0;
  std::vector<SDL_Rect> square = boxes_at(576, 408, 40, 40);
  treasure->gather(square, score);
  EXPECT_EQ(score, 500);
  // Opening again raises every piece, paying nothing for it.
  treasure->collect();
  EXPECT_EQ(score, 500);
  EXPECT_TRUE(treasure->piece_up(6, 6));
}

TEST_F(TREASURES, ChestPlacementDrawsXThenY) {
  std::srand(3);
  const int rx = std::rand(), ry = std::rand();
  std::srand(3);
  treasure->replace();
  EXPECT_EQ(treasure->get_x(), 30 + rx % 570);
  EXPECT_EQ(treasure->get_y(), 40 + ry % 375);
  EXPECT_EQ(treasure->get_c_boxes()[0].x, treasure->get_x());
}
