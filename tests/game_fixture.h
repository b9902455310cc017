#pragma once
// A started game in a fresh working directory, on the virtual clock, with
// the random generator seeded so that what follows is known.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "game.h"
#include "globals.h"
#include "harness.h"
#include "text.h"

inline void reset_game_globals() {
  quit = false;
  start = false;
  restart = true;
}

// How many of the pixels that draw inks (with the game's own text helpers,
// on an empty screen) the frame does not show in the same colour: 0 when
// the frame shows those texts there; -1 when draw inks nothing.
inline int ink_missing(SDL_Surface* frame, const std::function<void(SDL_Surface*)>& draw) {
  SDL_Surface* alone = SDL_CreateRGBSurface(SDL_SWSURFACE, frame->w, frame->h, 32, 0x00FF0000,
                                            0x0000FF00, 0x000000FF, 0);
  const Uint32 empty = SDL_MapRGB(alone->format, 0, 255, 255);  // no text is cyan
  SDL_FillRect(alone, nullptr, empty);
  draw(alone);
  int inked = 0, missing = 0;
  for (int y = 0; y < frame->h; ++y) {
    for (int x = 0; x < frame->w; ++x) {
      Uint8 r, g, b, fr, fg, fb;
      harness::pixel_rgb(alone, x, y, &r, &g, &b);
      if (r == 0 && g == 255 && b == 255) continue;
      ++inked;
      harness::pixel_rgb(frame, x, y, &fr, &fg, &fb);
      if (fr != r || fg != g || fb != b) ++missing;
    }
  }
  SDL_FreeSurface(alone);
  return inked == 0 ? -1 : missing;
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
