#pragma once
// A started game for driving a mini-game or the sword fight: the play loop's
// event record holds a pattern that they must leave alone, and the virtual
// time of every flipped frame is kept.
#include <cstring>
#include <vector>

#include "game_fixture.h"

class MINI_GAME_TEST : public GAME_TEST {
 protected:
  void SetUp() override {
    GAME_TEST::SetUp();
    std::memset(&event, 0xA5, sizeof event);
    std::memcpy(&saved_event, &event, sizeof event);
    harness::on_every_flip([this](int) { flip_times.push_back(harness::now()); });
  }

  Uint32 last_flip_at() const { return flip_times.empty() ? 0 : flip_times.back(); }

  // Neither the play loop's event record nor its quit flag was touched.
  void expect_main_game_untouched(bool quit_was = false) {
    EXPECT_EQ(quit, quit_was);
    EXPECT_EQ(std::memcmp(&event, &saved_event, sizeof event), 0);
  }

  SDL_Event saved_event;
  std::vector<Uint32> flip_times;
};
