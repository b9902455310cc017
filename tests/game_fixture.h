#pragma once
// A started game in a fresh working directory, on the virtual clock, with
// the random generator seeded so that what follows is known.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "game.h"
#include "globals.h"
#include "harness.h"
#include "look.h"
#include "text.h"

inline void reset_game_globals() {
  quit = false;
  start = false;
  restart = true;
}

// Where the rules put a text, from the font's own measure (TTF_SizeText) and
// the screen's size, never from the game's text helpers.
inline int text_width(TTF_Font* font, const std::string& text) {
  int w = 0, h = 0;
  TTF_SizeText(font, text.c_str(), &w, &h);
  return w;
}
inline int text_height(TTF_Font* font, const std::string& text) {
  int w = 0, h = 0;
  TTF_SizeText(font, text.c_str(), &w, &h);
  return h;
}
// Left edge of a text centred on the screen's width.
inline int centred_x(TTF_Font* font, const std::string& text) {
  return (640 - text_width(font, text)) / 2;
}
// Top edge of a text centred on the screen's height, moved down by dy.
inline int middle_y(TTF_Font* font, const std::string& text, int dy = 0) {
  return (480 - text_height(font, text)) / 2 + dy;
}

// Draws text with SDL_ttf alone, its top left corner at (x, y).
inline void put_text(SDL_Surface* dest, TTF_Font* font, const std::string& text, SDL_Color colour,
                     int x, int y) {
  SDL_Surface* ink = TTF_RenderText_Solid(font, text.c_str(), colour);
  ASSERT_NE(ink, nullptr) << text;
  SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
  SDL_BlitSurface(ink, nullptr, dest, &at);
  SDL_FreeSurface(ink);
}

// How many of the pixels that draw inks (with put_text, on an empty screen)
// the frame does not show in the same colour: 0 when the frame shows those
// texts there; -1 when draw inks nothing. With margin > 0, also counts the
// pixels of the frame within margin of that ink, in one of its colours,
// where draw puts none: 0 when the texts stand there only.
inline int ink_missing(SDL_Surface* frame, const std::function<void(SDL_Surface*)>& draw,
                       int margin = 0) {
  SDL_Surface* alone = SDL_CreateRGBSurface(SDL_SWSURFACE, frame->w, frame->h, 32, 0x00FF0000,
                                            0x0000FF00, 0x000000FF, 0);
  const Uint32 empty = SDL_MapRGB(alone->format, 0, 255, 255);  // no text is cyan
  SDL_FillRect(alone, nullptr, empty);
  draw(alone);
  int inked = 0, missing = 0;
  int left = frame->w, right = -1, top = frame->h, bottom = -1;
  std::vector<Uint32> colours;
  for (int y = 0; y < frame->h; ++y) {
    for (int x = 0; x < frame->w; ++x) {
      Uint8 r, g, b, fr, fg, fb;
      harness::pixel_rgb(alone, x, y, &r, &g, &b);
      if (r == 0 && g == 255 && b == 255) continue;
      ++inked;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
      const Uint32 rgb = static_cast<Uint32>(r << 16 | g << 8 | b);
      if (std::find(colours.begin(), colours.end(), rgb) == colours.end()) colours.push_back(rgb);
      harness::pixel_rgb(frame, x, y, &fr, &fg, &fb);
      if (fr != r || fg != g || fb != b) ++missing;
    }
  }
  if (inked > 0 && margin > 0) {
    for (int y = std::max(0, top - margin); y <= std::min(frame->h - 1, bottom + margin); ++y) {
      for (int x = std::max(0, left - margin); x <= std::min(frame->w - 1, right + margin); ++x) {
        Uint8 r, g, b, fr, fg, fb;
        harness::pixel_rgb(alone, x, y, &r, &g, &b);
        if (!(r == 0 && g == 255 && b == 255)) continue;
        harness::pixel_rgb(frame, x, y, &fr, &fg, &fb);
        const Uint32 rgb = static_cast<Uint32>(fr << 16 | fg << 8 | fb);
        if (std::find(colours.begin(), colours.end(), rgb) != colours.end()) ++missing;
      }
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
