// The shared helpers: the two collision rules, image loading and blitting,
// asset paths and the frame timer.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "collision.h"
#include "game_fixture.h"
#include "image.h"
#include "minigames/funcs.h"
#include "paths.h"
#include "pause.h"
#include "timer.h"

TEST(Collision, HorizontalEdgesMeetingCollideVerticalEdgesDoNot) {
  EXPECT_TRUE(collision(rect(0, 0, 10, 10), rect(0, 10, 10, 10)));
  EXPECT_TRUE(collision(rect(0, 10, 10, 10), rect(0, 0, 10, 10)));
  EXPECT_FALSE(collision(rect(0, 0, 10, 10), rect(10, 0, 10, 10)));
  EXPECT_FALSE(collision(rect(10, 0, 10, 10), rect(0, 0, 10, 10)));
  EXPECT_FALSE(collision(rect(0, 0, 10, 10), rect(0, 11, 10, 10)));
  EXPECT_TRUE(collision(rect(0, 0, 10, 10), rect(9, 9, 10, 10)));
}

TEST(Collision, SumsDoNotWrapAtTheEdgesOfSixteenBits) {
  EXPECT_TRUE(collision(rect(32000, 32000, 1000, 1000), rect(32700, 32700, 10, 10)));
  std::vector<SDL_Rect> a = {rect(32000, 32000, 1000, 1000)};
  EXPECT_TRUE(check_collision(a, rect(32700, 32700, 10, 10)));
  EXPECT_FALSE(check_collision(a, rect(-32768, -32768, 10, 10)));
}

TEST(CheckCollision, EdgesMeetingNeverOverlapInEitherOrder) {
  std::vector<SDL_Rect> a = {rect(0, 0, 10, 10)};
  std::vector<SDL_Rect> below = {rect(0, 10, 10, 10)};
  std::vector<SDL_Rect> right = {rect(10, 0, 10, 10)};
  std::vector<SDL_Rect> corner = {rect(9, 9, 10, 10)};
  EXPECT_FALSE(check_collision(a, below));
  EXPECT_FALSE(check_collision(below, a));
  EXPECT_FALSE(check_collision(a, right));
  EXPECT_FALSE(check_collision(right, a));
  EXPECT_TRUE(check_collision(a, corner));
  EXPECT_TRUE(check_collision(corner, a));
  EXPECT_FALSE(check_collision(a, rect(0, 10, 10, 10)));
  EXPECT_FALSE(check_collision(below, rect(0, 0, 10, 10)));
  EXPECT_FALSE(check_collision(right, rect(0, 0, 10, 10)));
  EXPECT_TRUE(check_collision(a, rect(9, 9, 10, 10)));
}

TEST(CheckCollision, EmptyListsAndDegenerateBoxes) {
  std::vector<SDL_Rect> none;
  std::vector<SDL_Rect> a = {rect(0, 0, 10, 10)};
  EXPECT_FALSE(check_collision(none, a));
  EXPECT_FALSE(check_collision(a, none));
  EXPECT_FALSE(check_collision(none, rect(0, 0, 10, 10)));
  // A zero-sized box strictly inside another still overlaps it.
  std::vector<SDL_Rect> dot = {rect(5, 5, 0, 0)};
  EXPECT_TRUE(check_collision(dot, a));
}

TEST(CheckCollision, AnyPairInEitherListCounts) {
  std::vector<SDL_Rect> a = {rect(100, 100, 5, 5), rect(0, 0, 10, 10)};
  std::vector<SDL_Rect> b = {rect(50, 50, 5, 5), rect(5, 5, 10, 10)};
  EXPECT_TRUE(check_collision(a, b));
  EXPECT_TRUE(check_collision(b, a));
  EXPECT_TRUE(check_collision(a, rect(101, 101, 1, 1)));
}

// A box that moved by (dx, dy) swept everything between where it stood and
// where it ended; a step whose far edge only meets the target misses it.
TEST(CheckFlight, TheStepCountsUpToItsFarEdge) {
  const struct {
    SDL_Rect start;
    int dx, dy;
    bool hits;
  } cases[] = {
      {rect(0, 0, 10, 10), 91, 0, true},      // right edge one pixel into the target
      {rect(0, 0, 10, 10), 90, 0, false},     // right edge on the target's left edge
      {rect(0, 0, 10, 10), 500, 0, true},     // wholly past it
      {rect(200, 0, 10, 10), -91, 0, true},   // leftwards, left edge one pixel in
      {rect(200, 0, 10, 10), -90, 0, false},  // left edge on the target's right edge
      {rect(100, -50, 10, 10), 0, 41, true},  // downwards
      {rect(100, -50, 10, 10), 0, 40, false},
      {rect(100, 60, 10, 10), 0, -51, true},  // upwards
      {rect(100, 60, 10, 10), 0, -50, false},
      {rect(100, 0, 10, 10), 300, 0, false},  // already on it at the start: not a flight hit
      {rect(0, 20, 10, 10), 500, 0, false},   // a row below the target
  };
  std::vector<SDL_Rect> target = {rect(100, 0, 10, 10)};
  for (const auto& c : cases) {
    std::vector<SDL_Rect> before = {c.start};
    EXPECT_EQ(check_flight(target, before, c.dx, c.dy), c.hits)
        << "from (" << c.start.x << "," << c.start.y << ") by (" << c.dx << "," << c.dy << ")";
  }
}

TEST(Paths, BackslashesNameTheSameFolders) {
  EXPECT_EQ(native_path("sprites\\bg.jpg"), "sprites/bg.jpg");
  EXPECT_EQ(native_path("sfx/coin.wav"), "sfx/coin.wav");
  EXPECT_EQ(native_path(""), "");
}

class IMAGES : public GAME_TEST {};

TEST_F(IMAGES, CyanIsTransparentAndClipsPickTheirPart) {
  // A sheet of two 2x1 cells: red with a cyan pixel, then green.
  SDL_Surface* sheet = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 1, 24, 0xFF, 0xFF00, 0xFF0000, 0);
  Uint8* p = static_cast<Uint8*>(sheet->pixels);
  const Uint8 colours[4][3] = {{255, 0, 0}, {0, 255, 255}, {0, 255, 0}, {0, 255, 0}};
  for (int i = 0; i < 4; ++i) std::memcpy(p + 3 * i, colours[i], 3);
  ASSERT_EQ(SDL_SaveBMP(sheet, "sheet.bmp"), 0);
  SDL_FreeSurface(sheet);

  SDL_Surface* loaded = load_image("sheet.bmp");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->format->BitsPerPixel, screen->format->BitsPerPixel);

  SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 255));
  SDL_Rect first = {0, 0, 2, 1};
  apply_surface(10, 20, loaded, screen, &first);
  Uint8 r, g, b;
  harness::pixel_rgb(screen, 10, 20, &r, &g, &b);
  EXPECT_EQ(r, 255);
  harness::pixel_rgb(screen, 11, 20, &r, &g, &b);
  EXPECT_EQ(b, 255) << "cyan must let the blue background show";
  EXPECT_EQ(g, 0);
  harness::pixel_rgb(screen, 12, 20, &r, &g, &b);
  EXPECT_EQ(b, 255) << "the clip must not draw the second cell";

  // The mini-games' names do exactly the same.
  SDL_Surface* again = load("sheet.bmp");
  ASSERT_NE(again, nullptr);
  apply(0, 0, again, screen);
  harness::pixel_rgb(screen, 2, 0, &r, &g, &b);
  EXPECT_EQ(g, 255);
  EXPECT_EQ(r, 0);
  SDL_FreeSurface(loaded);
  SDL_FreeSurface(again);
}

TEST_F(IMAGES, MissingFilesAndNullSurfacesAreHarmless) {
  EXPECT_EQ(load_image("no/such/file.png"), nullptr);
  EXPECT_EQ(load("no\\such\\file.png"), nullptr);
  apply_surface(0, 0, nullptr, screen);
  apply_surface(0, 0, game.bg, nullptr);
  apply(0, 0, nullptr, screen);
}

TEST_F(IMAGES, BackslashPathsLoad) {
  SDL_Surface* a = load_image("sprites\\ball.bmp");
  SDL_Surface* b = load_image("sprites/ball.bmp");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->w, b->w);
  SDL_FreeSurface(a);
  SDL_FreeSurface(b);
}

TEST(Timer, CountsFromTheLastStartAndPacesTheRestOfTheFrame) {
  harness::reset();
  harness::advance(400);
  {
    // A pause before the timer is made is not its own. (The mixer is open
    // as in a game: SDL_mixer crashes pausing channels it has closed.)
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024), 0);
    {
      PAUSABLE in_play(nullptr, SDL_Color{});
      PAUSED_SCREEN paused;
      harness::advance(600);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  TIMER timer;
  EXPECT_EQ(timer.get_ticks(), 1000);
  // Also where SDL's count passes 2^31 (24.8 days up) and where it wraps
  // to 0 (49.7 days): frames that span either measure and wait the same.
  for (Uint32 at : {1000u, 0x80000000u - 20, 0xFFFFFFFFu - 19}) {
    SCOPED_TRACE(at);
    harness::set_clock(at);
    timer.start();
    EXPECT_EQ(timer.get_ticks(), 0);
    harness::advance(15);
    EXPECT_EQ(timer.get_ticks(), 15);
    EXPECT_TRUE(pace_frame(timer));
    EXPECT_EQ(harness::now(), at + 40);
    EXPECT_EQ(timer.get_ticks(), 40);
    timer.start();
    harness::advance(40);
    EXPECT_FALSE(pace_frame(timer)) << "a frame that used its 40 ms does not wait";
    EXPECT_EQ(harness::now(), at + 80);
  }
}
