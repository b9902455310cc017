// The map piece and the sword-fight marker in the play loop: where they turn
// up, what touching them runs, and that solo games never see them.
#include <gtest/gtest.h>

#include "minigames/funcs.h"
#include "play_fixture.h"

namespace {

// The mini-game whose background the frame shows most of.
int mini_game_shown(SDL_Surface* frame) {
  const char* backgrounds[] = {"minigames/bg.png", "minigames/cave.png", "minigames/shore.png"};
  int shown = -1, fewest = 640 * 480;
  for (int kind = 0; kind < 3; ++kind) {
    SDL_Surface* bg = load(backgrounds[kind]);
    const int unlike = harness::differing_pixels(frame, bg, 4);
    SDL_FreeSurface(bg);
    if (unlike < fewest) {
      fewest = unlike;
      shown = kind;
    }
  }
  return shown;
}

}  // namespace

class PORTALS : public PLAY_TEST {
 protected:
  // Ends whatever mini-game or fight is running at its next frame.
  void escape_every_frame() {
    harness::on_every_flip([](int) { harness::press(SDLK_ESCAPE); });
  }
  // Both pirates stood still far from everything.
  void park_pirates() {
    game.myPirate->make_position(20, 370);
    game.myPirate2->make_position(540, 370);
  }
};

TEST_F(PORTALS, TheMapPieceIsOnThePlayfieldInTheFirstFrameOfATwoPlayerGame) {
  begin(true);
  EXPECT_TRUE(game.myminis->is_on());
  EXPECT_TRUE(game.myfight->is_on()) << "a new marker starts on";
  park_pirates();
  play_frame(game);
  EXPECT_EQ(game.myminis->get_frame(), 1) << "drawn once";
  EXPECT_EQ(game.myfight->get_frame(), 1);
  const SDL_Rect piece = game.myminis->get_hitbox();
  EXPECT_GE(piece.x, 40);
  EXPECT_LE(piece.x, 559);
  EXPECT_GE(piece.y, 40);
  EXPECT_LE(piece.y, 339);
}

TEST_F(PORTALS, BothPiratesOnTheMapPieceRunOneMiniGameOnlyTheOneDrawnForIt) {
  begin(true);
  no_ghost_pickups();
  escape_every_frame();
  harness::capture_frames(true);
  // The piece of the new game, then a piece placed for each mini-game in turn.
  for (int round = 0; round < 4; ++round) {
    int kind = game.myminis->get_game();
    if (round > 0) {
      kind = round - 1;
      ASSERT_FALSE(game.myminis->is_on());
      // A seed whose third number picks this mini-game: x, y, rand() % 3.
      unsigned seed = 0;
      for (int drawn = -1; drawn != kind;) {
        std::srand(++seed);
        std::rand();
        std::rand();
        drawn = std::rand() % 3;
      }
      std::srand(seed);
      game.myminis->place();
      ASSERT_EQ(game.myminis->get_game(), kind);
    }
    SCOPED_TRACE("mini-game " + std::to_string(kind));
    stand_on(*game.myPirate, game.myminis->get_hitbox());
    stand_on(*game.myPirate2, game.myminis->get_hitbox());
    game.myPirate->handle_input(harness::key_down(SDLK_RIGHT));
    harness::drain_queue();  // the Escape after the last frame
    const int score = game.score;
    const int entries = harness::plays("sfx/mini_enter.wav");
    SDL_Surface* first = nullptr;
    harness::after_flip(harness::flips() + 1, [&] { first = harness::last_frame(); });
    play_frame(game);
    EXPECT_EQ(harness::plays("sfx/mini_enter.wav"), entries + 1);
    EXPECT_FALSE(game.myminis->is_on());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(mini_game_shown(first), kind);
    SDL_FreeSurface(first);
    EXPECT_EQ(game.myPirate->get_xvel(), 0) << "both pirates stand still afterwards";
    EXPECT_GE(game.score, score) << "mini-games only add";
    // The held key's release does not push the pirate back.
    game.myPirate->handle_input(harness::key_up(SDLK_RIGHT));
    EXPECT_EQ(game.myPirate->get_xvel(), 0);
  }
}

TEST_F(PORTALS, BothPiratesOnTheMarkerRunTwoFights) {
  begin(true);
  no_ghost_pickups();
  stand_on(*game.myPirate, game.myfight->get_hitbox());
  stand_on(*game.myPirate2, game.myfight->get_hitbox());
  escape_every_frame();
  const Uint32 before = harness::now();
  play_frame(game);
  EXPECT_FALSE(game.myfight->is_on());
  // Each fight ends with a one-second pause.
  EXPECT_GE(harness::now() - before, 2000u);
  EXPECT_LT(harness::now() - before, 3000u);
  EXPECT_FALSE(quit) << "ending a fight does not end the game";
}

TEST_F(PORTALS, TheMarkerComesBackOnlyByChanceAndSurvivesANewGame) {
  begin(true);
  no_ghost_pickups();
  stand_on(*game.myPirate, game.myfight->get_hitbox());
  escape_every_frame();
  play_frame(game);
  ASSERT_FALSE(game.myfight->is_on());
  harness::reset();
  park_pirates();
  int frames = 0;
  while (!game.myfight->is_on() && frames < 5000) {
    park_pirates();
    play_frame(game);
    ++frames;
  }
  EXPECT_TRUE(game.myfight->is_on());
  EXPECT_GT(frames, 1);
  const SDL_Rect place = game.myfight->get_hitbox();
  // A marker on the playfield stays put when placed again, drawing nothing.
  std::srand(77);
  const int next = std::rand();
  std::srand(77);
  game.myfight->replace();
  EXPECT_EQ(std::rand(), next);
  begin(true);
  EXPECT_TRUE(game.myfight->is_on());
  EXPECT_EQ(game.myfight->get_hitbox().x, place.x);
  EXPECT_EQ(game.myfight->get_hitbox().y, place.y);
}

TEST_F(PORTALS, ASoloGameNeverDrawsTouchesOrPlacesThem) {
  begin(false);
  no_ghost_pickups();
  const SDL_Rect piece = game.myminis->get_hitbox();
  for (int i = 0; i < 100; ++i) {
    stand_on(*game.myPirate, i % 2 ? piece : game.myfight->get_hitbox());
    const Uint32 before = harness::now();
    play_frame(game);
    if (game.lives1 == 3) {
      EXPECT_EQ(harness::now() - before, 40u) << "no mini-game or fight ran";
    }
  }
  EXPECT_EQ(harness::plays("sfx/mini_enter.wav"), 0);
  EXPECT_TRUE(game.myminis->is_on());
  EXPECT_TRUE(game.myfight->is_on());
  EXPECT_EQ(game.myminis->get_frame(), 0);
  EXPECT_EQ(game.myfight->get_frame(), 0);
}

TEST_F(PORTALS, AnOldPieceKeepsItsPlaceAndItsGameInTheNextGame) {
  begin(true);
  const SDL_Rect piece = game.myminis->get_hitbox();
  const int kind = game.myminis->get_game();
  begin(false);
  begin(true);
  EXPECT_EQ(game.myminis->get_hitbox().x, piece.x);
  EXPECT_EQ(game.myminis->get_hitbox().y, piece.y);
  EXPECT_EQ(game.myminis->get_game(), kind);
}
