// The play loop, frame by frame and as whole games driven by scripted keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game_over.h"
#include "play_fixture.h"

namespace {

using harness::file_text;

// The flips before play: three splash pictures, the title, two hints and
// the mode screen, each left by Enter on its first pass.
const int MENU_FLIPS = 7;

void enter_through_the_menus(bool two_players) {
  for (int flip = 4; flip <= 6; ++flip) harness::press_after_flip(flip, SDLK_RETURN);
  harness::after_flip(MENU_FLIPS, [two_players] {
    if (two_players) harness::press(SDLK_SPACE);
    harness::press(SDLK_RETURN);
  });
}

}  // namespace

class PLAY : public PLAY_TEST {};

TEST_F(PLAY, ASoloGameEndedByEscapeKeepsItsScoreAsTheRecord) {
  enter_through_the_menus(false);
  harness::press_after_flip(MENU_FLIPS + 1 + 60, SDLK_ESCAPE);
  int score_at_escape = -1;
  harness::after_flip(MENU_FLIPS + 1 + 61, [&] {
    score_at_escape = game.score;
    harness::press(SDLK_ESCAPE);  // leave on the game-over screen
  });
  harness::capture_frames(true);
  run(game);
  EXPECT_FALSE(restart);
  EXPECT_GE(score_at_escape, 61) << "a point for every frame on time";
  EXPECT_EQ(file_text("records.dat"), std::to_string(score_at_escape) + " 0");
  ASSERT_GE(harness::music_files().size(), 4u);
  EXPECT_EQ(harness::music_files().back(), "sfx/end.wav");
  SDL_Surface* last = harness::last_frame();
  harness::save_png(last, harness::frame_file("game_over.png"));
  SDL_FreeSurface(last);
}

TEST_F(PLAY, EnterOnTheGameOverScreenStartsAnotherGameInTheSameMode) {
  enter_through_the_menus(true);
  // Escape ends the game (and any mini-game or fight under way); the
  // record file appears when the game-over screen comes up.
  enum { PLAYING, GAME_OVER, NEXT_MODE_SCREEN } phase = PLAYING;
  bool mode_kept = false;
  harness::on_every_flip([&](int flip) {
    if (flip <= MENU_FLIPS + 10) return;
    if (phase == PLAYING) {
      if (!std::filesystem::exists("records.dat")) {
        if (!quit) harness::press(SDLK_ESCAPE);
        return;
      }
      phase = GAME_OVER;
      harness::press(SDLK_RETURN);
    } else if (phase == GAME_OVER) {
      phase = NEXT_MODE_SCREEN;
      mode_kept = game.multi;
      harness::press(SDLK_ESCAPE);
    }
  });
  run(game);
  EXPECT_EQ(phase, NEXT_MODE_SCREEN);
  EXPECT_TRUE(mode_kept);
  EXPECT_TRUE(restart) << "Escape on the mode screen ends the run without a game over";
  std::istringstream records(file_text("records.dat"));
  int solo = -1, multi = -1;
  records >> solo >> multi;
  EXPECT_EQ(solo, 0);
  EXPECT_GE(multi, 10);
}

TEST_F(PLAY, FourHitsCostThreeHeartsAndThenThePirate) {
  begin(false);
  no_ghost_pickups();
  harness::capture_frames(true);
  std::vector<int> lives_after_hits;
  int frames = 0;
  while (!quit && frames < 5000) {
    if (!game.myPirate->is_ghost()) stand_in_path(*game.myPirate);
    const int lives = game.lives1;
    const bool dead = game.myPirate->is_dead();
    const Uint32 before = harness::now();
    play_frame(game);
    ++frames;
    if (game.lives1 != lives || game.myPirate->is_dead() != dead) {
      lives_after_hits.push_back(game.myPirate->is_dead() ? -1 : game.lives1);
      EXPECT_GE(harness::now() - before, 1000u) << "a hit stops the game for a second";
      if (lives_after_hits.size() == 1) {
        EXPECT_TRUE(game.myPirate->is_ghost());
        SDL_Surface* frame = harness::last_frame();
        harness::save_png(frame, harness::frame_file("hit.png"));
        SDL_FreeSurface(frame);
      }
    }
  }
  EXPECT_EQ(lives_after_hits, (std::vector<int>{2, 1, 0, -1}));
  EXPECT_TRUE(quit);
  EXPECT_EQ(harness::music_files().back(), "sfx/end.wav");
  SDL_Surface* banner = harness::last_frame();
  harness::save_png(banner, harness::frame_file("banner.png"));
  SDL_FreeSurface(banner);
}

TEST_F(PLAY, GhostModeLastsTwoHundredFiftyFramesAndTheBallPassesThrough) {
  begin(false);
  no_ghost_pickups();
  game.myPirate->go_ghost();
  int frames = 0;
  while (game.myPirate->is_ghost()) {
    stand_in_path(*game.myPirate);
    play_frame(game);
    ++frames;
    ASSERT_LT(frames, 1000);
    if (game.myPirate->is_ghost()) {
      ASSERT_EQ(game.lives1, 3);
    }
  }
  EXPECT_EQ(frames, 250);
  EXPECT_EQ(game.ghost_counter, 0);
}

TEST_F(PLAY, CatchingTheGhostRestartsTheCountAndAHitIsTestedTheFrameItEnds) {
  begin(false);
  game.myPirate->go_ghost();
  game.ghost_counter = 100;
  game.myGPIRATE->collect();
  game.myGPIRATE->replace();
  stand_on(*game.myPirate, game.myGPIRATE->get_c_boxes()[0]);
  const int wails = harness::plays("sfx/ghost.wav");
  play_frame(game);
  EXPECT_TRUE(game.myGPIRATE->is_collected());
  EXPECT_EQ(game.ghost_counter, 1);
  EXPECT_EQ(harness::plays("sfx/ghost.wav"), wails + 1);

  game.ghost_counter = 249;
  for (int tries = 0; !stand_in_path(*game.myPirate); ++tries) {
    game.ghost_counter = 248;
    play_frame(game);
    ASSERT_LT(tries, 500);
  }
  play_frame(game);
  EXPECT_FALSE(game.myPirate->is_ghost() && game.ghost_counter == 0 && game.lives1 == 3)
      << "the frame in which ghost mode ends tests the hit at once";
  EXPECT_EQ(game.lives1, 2);
}

TEST_F(PLAY, GhostModeCarriesIntoTheNextGame) {
  begin(false);
  game.myPirate->go_ghost();
  game.ghost_counter = 100;
  begin(false);
  EXPECT_TRUE(game.myPirate->is_ghost());
  EXPECT_EQ(game.lives1, 3);
  play_frame(game);
  EXPECT_EQ(game.ghost_counter, 101);
}

TEST_F(PLAY, EitherPirateDyingEndsATwoPlayerGame) {
  begin(true);
  no_ghost_pickups();
  game.lives2 = 0;
  game.myPirate->make_position(20, -40);
  int frames = 0;
  while (!quit) {
    stand_in_path(*game.myPirate2);
    play_frame(game);
    ASSERT_LT(++frames, 2000);
  }
  EXPECT_TRUE(game.myPirate2->is_dead());
  EXPECT_FALSE(game.myPirate->is_dead());
  EXPECT_EQ(game.lives1, 3);
}

TEST_F(PLAY, AFrameThatOverrunsItsBudgetNeitherWaitsNorScores) {
  begin(false);
  no_ghost_pickups();
  game.myPirate->make_position(20, -40);
  play_frame(game);
  const int score = game.score;
  const Uint32 before = harness::now();
  harness::stall_at_ticks_call(2, 50);
  play_frame(game);
  EXPECT_EQ(harness::now() - before, 50u);
  EXPECT_EQ(game.score, score);
  play_frame(game);
  EXPECT_EQ(game.score, score + 1);
  EXPECT_EQ(harness::now() - before, 90u);
}

TEST_F(PLAY, TheCoinMovesBeforeTheSecondPirateIsTested) {
  begin(true);
  no_ghost_pickups();
  game.myRuby->collect();
  SDL_Rect coin = game.myCoin->get_c_boxes()[0];
  stand_on(*game.myPirate, coin);
  stand_on(*game.myPirate2, coin);
  const int score = game.score;
  play_frame(game);
  EXPECT_EQ(game.score, score + 1 + 500);
  EXPECT_EQ(harness::plays("sfx/coin.wav"), 2) << "once for the new game, once for the pick-up";
}

TEST_F(PLAY, OnlyTheFirstPirateToTouchTheRubyScoresIt) {
  begin(true);
  no_ghost_pickups();
  SDL_Rect ruby = game.myRuby->get_c_boxes()[0];
  stand_on(*game.myPirate, ruby);
  stand_on(*game.myPirate2, ruby);
  const int score = game.score;
  play_frame(game);
  EXPECT_TRUE(game.myRuby->is_collected());
  EXPECT_EQ(game.score - score - 1, 2500);
}

TEST_F(PLAY, ASoloFrameDrawsNoChanceWhileEverythingIsOnThePlayfield) {
  begin(false);
  game.myPirate->make_position(20, -40);
  play_frame(game);
  const int launches = game.myCannonball->get_rvel();
  std::srand(77);
  const int next = std::rand();
  std::srand(77);
  play_frame(game);
  if (game.myCannonball->get_rvel() == launches) {
    EXPECT_EQ(std::rand(), next);
  }
}

TEST_F(PLAY, ATwoPlayerFrameRollsForTheMapPieceAndTheMarker) {
  begin(true);
  game.myPirate->make_position(20, -40);
  game.myPirate2->make_position(540, -40);
  play_frame(game);
  const int launches = game.myCannonball->get_rvel();
  std::srand(77);
  std::rand();
  std::rand();
  const int third = std::rand();
  std::srand(77);
  play_frame(game);
  if (game.myCannonball->get_rvel() == launches) {
    EXPECT_EQ(std::rand(), third);
  }
}

TEST_F(PLAY, HeartsShowTheLivesLeft) {
  begin(true);
  game.myPirate->make_position(20, -40);
  game.myPirate2->make_position(540, -40);
  game.lives1 = 0;
  game.lives2 = 2;
  game.score = 4711;
  harness::capture_frames(true);
  play_frame(game);
  SDL_Surface* frame = harness::last_frame();
  harness::save_png(frame, harness::frame_file("hearts.png"));
  // Between the hearts, the score in the screen's middle and its label 20
  // pixels higher, both centred; nothing else of theirs around them.
  EXPECT_EQ(ink_missing(
                frame,
                [&](SDL_Surface* s) {
                  put_text(s, font2(), "score", textcolor, centred_x(font2(), "score"),
                           middle_y(font2(), "score", -20));
                  put_text(s, font2(), "4711", textcolor, centred_x(font2(), "4711"),
                           middle_y(font2(), "4711"));
                },
                30),
            0);
  // How red a heart's square looks: a held heart is red, a lost one grey.
  auto redness = [&](int left) {
    int sum = 0;
    for (int y = 220; y < 260; ++y) {
      for (int x = left; x < left + 40; ++x) {
        Uint8 r, g, b;
        harness::pixel_rgb(frame, x, y, &r, &g, &b);
        sum += r - (g + b) / 2;
      }
    }
    return sum / 1600;
  };
  const int lost = redness(50), held = redness(455), lost_two = redness(545);
  EXPECT_GT(held, lost + 20) << "pirate one has no heart left, pirate two two of three";
  EXPECT_NEAR(lost, redness(95), 3);
  EXPECT_NEAR(lost, lost_two, 3);
  EXPECT_NEAR(held, redness(500), 3);
  SDL_FreeSurface(frame);
}

TEST_F(PLAY, WindowCloseEndsTheGameWithoutTheEndMusic) {
  begin(false);
  const size_t switches = harness::music_files().size();
  harness::push(harness::window_close());
  play_frame(game);
  EXPECT_TRUE(quit);
  EXPECT_EQ(harness::music_files().size(), switches);
}
