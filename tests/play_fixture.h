#pragma once
// A game set up as the mode screen leaves it, ready for play_frame.
#include "game_fixture.h"
#include "game_setup.h"
#include "play_loop.h"

class PLAY_TEST : public GAME_TEST {
 protected:
  void begin(bool two_players) {
    game.multi = two_players;
    prepare_before_mode(game);
    prepare_after_mode(game);
  }

  // Stands the pirate where the cannonball will be after its next move,
  // so that this frame's hit test finds it. False while the ball is about
  // to leave the screen.
  template <class P>
  bool stand_in_path(P& pirate) {
    CANNONBALL& ball = *game.myCannonball;
    int bx = ball.get_x(), by = ball.get_y();
    switch (ball.get_airway()) {
      case 0:
        bx += ball.get_xvel();
        break;
      case 1:
        bx -= ball.get_xvel();
        break;
      case 2:
        by += ball.get_yvel();
        break;
      default:
        by -= ball.get_yvel();
        break;
    }
    if (bx < 60 || bx > 560 || by < 20 || by > 400) return false;
    pirate.make_position(bx - 30, by - 14);
    return true;
  }

  // Stands the pirate so that its upper body covers the rectangle's middle.
  template <class P>
  void stand_on(P& pirate, SDL_Rect r) {
    pirate.make_position(r.x + r.w / 2 - 42, r.y + r.h / 2 - 24);
  }

  // Keeps the ghost pirate off the playfield so it does not change a test.
  void no_ghost_pickups() { game.myGPIRATE->collect(); }
};
