// What a player sees of states outside the specified screens: the muted
// sign on every screen where M works, the mode screen's key line after a
// remap, and the slowed-down game's mark beside the "Paused" panel.
#include "game_over.h"
#include "look.h"
#include "play_fixture.h"
#include "screens.h"
#include "settings.h"

namespace {

class SIGNS_TEST : public PLAY_TEST {
 protected:
  void TearDown() override {
    use_settings(SETTINGS());
    PLAY_TEST::TearDown();
  }
};

const SDL_Color TEXT_GOLD = {200, 150, 0, 0};

}  // namespace

// The sign, in the bottom right corner (its text 14 px from the right edge
// and 8 px from the bottom), is there only while muted: unmuted, a still
// screen is the same picture as before.
TEST_F(SIGNS_TEST, TheMutedSignShowsOnEveryScreenWhereMWorksAndOnlyWhileMuted) {
  TTF_Font* small = TTF_OpenFont("text.ttf", 20);
  const std::string sign = "Sound off ~ M";
  auto sign_ink = [&](SDL_Surface* s) {
    put_text(s, small, sign, TEXT_GOLD, 626 - text_width(small, sign),
             472 - text_height(small, sign));
  };
  struct CASE {
    const char* screen;
    std::function<void()> run;
    bool still;
  };
  const CASE cases[] = {
      {"title", [&] { title_screens(game); }, true},
      {"mode", [&] { mode_screen(game); }, true},
      {"play",
       [&] {
         begin(false);
         play_loop(game);
       },
       false},
      {"game over", [&] { game_over_screen(game, true); }, true},
  };
  for (const CASE& c : cases) {
    harness::reset();
    reset_game_globals();
    harness::capture_frames(true);
    SDL_Surface* frames[3] = {};
    for (int i = 0; i < 3; ++i) {
      // Frames 2, 4 and 6: before M, muted, unmuted again.
      harness::after_flip(2 + 2 * i, [&frames, i] {
        frames[i] = harness::last_frame();
        if (i < 2) harness::press(SDLK_m);
      });
    }
    harness::press_after_flip(7, SDLK_ESCAPE);
    c.run();
    harness::capture_frames(false);
    ASSERT_NE(frames[2], nullptr) << c.screen;
    EXPECT_GT(ink_missing(frames[0], sign_ink), 0) << c.screen;
    EXPECT_EQ(ink_missing(frames[1], sign_ink), 0) << c.screen;
    EXPECT_GT(ink_missing(frames[2], sign_ink), 0) << c.screen;
    if (c.still) {
      EXPECT_EQ(harness::differing_pixels(frames[0], frames[2]), 0) << c.screen;
    }
    for (SDL_Surface* f : frames) SDL_FreeSurface(f);
  }
  TTF_CloseFont(small);
}

// In the mode screen's font and place (centred, y = 330): the game's own
// line with the default keys, the keys played with for a player who changed
// his. Keys with long names stay inside the screen's 620 pixels, above the
// keys' line.
TEST_F(SIGNS_TEST, TheModeScreenNamesTheKeysEachPlayerPlaysWith) {
  struct CASE {
    std::vector<std::pair<ACTION, SDLKey>> changed;
    const char* line;  // nullptr: too long for one line of the screen's face
  };
  const CASE cases[] = {
      {{}, "P1: Arrow keys / Ctrl      P2: W,A,S,D / G"},
      {{{P1_UP, SDLK_i}, {P1_DOWN, SDLK_k}, {P1_LEFT, SDLK_j}, {P1_RIGHT, SDLK_l}},
       "P1: I,J,K,L / Right Ctrl      P2: W,A,S,D / G"},
      {{{P2_STRIKE, SDLK_RSHIFT}}, "P1: Arrow keys / Ctrl      P2: W,A,S,D / Right Shift"},
      {{{P1_UP, SDLK_PAGEUP},
        {P1_DOWN, SDLK_PAGEDOWN},
        {P1_LEFT, SDLK_CAPSLOCK},
        {P1_RIGHT, SDLK_RSHIFT},
        {P1_STRIKE, SDLK_KP_ENTER},
        {P2_UP, SDLK_INSERT},
        {P2_DOWN, SDLK_DELETE},
        {P2_LEFT, SDLK_LSHIFT},
        {P2_RIGHT, SDLK_BACKSPACE},
        {P2_STRIKE, SDLK_LCTRL}},
       nullptr},
  };
  for (const CASE& c : cases) {
    SETTINGS s;
    for (const auto& [action, key] : c.changed) s.keys[action] = key;
    use_settings(s);
    harness::reset();
    reset_game_globals();
    harness::capture_frames(true);
    SDL_Surface* frame = nullptr;
    harness::after_flip(2, [&frame] {
      frame = harness::last_frame();
      harness::press(SDLK_ESCAPE);
    });
    mode_screen(game);
    harness::capture_frames(false);
    ASSERT_NE(frame, nullptr);
    if (c.line == nullptr) {
      // The text's colour where the beach has another: outside the room, none.
      const Uint32 ink =
          SDL_MapRGB(frame->format, textcolor2.r, textcolor2.g, textcolor2.b);
      int inside = 0, outside = 0;
      ASSERT_EQ(frame->format->BytesPerPixel, 4);
      SDL_Surface* beach = SDL_ConvertSurface(game.bg, frame->format, SDL_SWSURFACE);
      ASSERT_NE(beach, nullptr);
      for (int y = 330; y < KEYS_Y; ++y) {
        for (int x = 0; x < frame->w; ++x) {
          const auto at = [&](SDL_Surface* surface) {
            return static_cast<const Uint32*>(surface->pixels)[y * surface->pitch / 4 + x];
          };
          if (at(frame) != ink || at(beach) == ink) continue;
          ++(x < 10 || x >= 630 ? outside : inside);
        }
      }
      SDL_FreeSurface(beach);
      EXPECT_GT(inside, 0) << "the long keys are drawn";
      EXPECT_EQ(outside, 0) << "the long keys stay within the room";
    } else {
      EXPECT_EQ(ink_missing(
                    frame,
                    [&](SDL_Surface* f) {
                      put_text(f, font2(), c.line, textcolor2,
                               centred_x(font2(), c.line), 330);
                    },
                    4),
                0)
          << c.line;
    }
    SDL_FreeSurface(frame);
  }
}

// Paused, the panel in the middle leaves the slowed-down game's mark in
// sight: the pixels only the slowed game draws are not under the panel.
TEST_F(SIGNS_TEST, ThePausedPanelLeavesTheSlowedDownGamesMarkInSight) {
  const SDL_Color panel = {45, 22, 4, 0};
  SDL_Surface* frames[2] = {};  // at full speed, slowed down
  SDL_Surface* paused = nullptr;
  for (int slowed = 0; slowed < 2; ++slowed) {
    SETTINGS s;
    s.speed = slowed == 1 ? 50 : 100;
    use_settings(s);
    shut_down(game);
    std::srand(7);
    ASSERT_TRUE(start_up(game));
    harness::reset();
    reset_game_globals();
    begin(false);
    harness::capture_frames(true);
    harness::after_flip(3, [&frames, slowed] {
      frames[slowed] = harness::last_frame();
      harness::press(SDLK_p);
    });
    // The pause's own frame; Escape ends the pause and the game.
    harness::after_flip(4, [&paused, slowed] {
      if (slowed == 1) paused = harness::last_frame();
      harness::press(SDLK_ESCAPE);
    });
    play_loop(game);
    harness::capture_frames(false);
  }
  ASSERT_TRUE(frames[0] != nullptr && frames[1] != nullptr && paused != nullptr);
  int mark = 0, covered = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      Uint8 r, g, b, r2, g2, b2;
      harness::pixel_rgb(frames[0], x, y, &r, &g, &b);
      harness::pixel_rgb(frames[1], x, y, &r2, &g2, &b2);
      if (r == r2 && g == g2 && b == b2) continue;
      ++mark;
      harness::pixel_rgb(paused, x, y, &r, &g, &b);
      covered += r == panel.r && g == panel.g && b == panel.b ? 1 : 0;
    }
  }
  EXPECT_GT(mark, 100);
  EXPECT_EQ(covered, 0);
  for (SDL_Surface* f : {frames[0], frames[1], paused}) SDL_FreeSurface(f);
}
