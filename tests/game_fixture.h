#pragma once
// A started game in a fresh working directory, on the virtual clock, with
// the random generator seeded so that what follows is known.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game.h"
#include "globals.h"
#include "harness.h"

inline void reset_game_globals() {
  quit = false;
  start = false;
  restart = true;
}

class GAME_TEST : public ::testing::Test {
 protected:
  void SetUp() override {
    harness::reset();
    reset_game_globals();
    std::srand(1234);
    ASSERT_TRUE(start_up(game));
  }
  void TearDown() override {
    if (game.myPirate != nullptr) shut_down(game);
  }

  harness::GAME_DIR_COPY dir;
  GAME game;
};
