#pragma once
// What a recorded game went through, seen from outside the rules after every
// flipped frame: the portal's entry sound and the map piece's game, the
// marker going off, a ghost the ball flies through, the chest and the ruby
// taken, and how the game ended. The replay suite checks that its games
// together reach every part of the game; the maker looks for them too.
#include <string>

#include "collision.h"
#include "game.h"
#include "harness.h"

enum FEATURE : unsigned {
  TRAP_RUN = 1u << 0,
  TREASURE_BOXES = 1u << 1,
  CANNON_ROWS = 1u << 2,
  SWORD_FIGHT = 1u << 3,
  GHOST_PASS = 1u << 4,
  CHEST_OPENED = 1u << 5,
  RUBY_TAKEN = 1u << 6,
  ENDED_BY_HITS = 1u << 7,
  ENDED_BY_ESCAPE = 1u << 8,
  LONG_FAST = 1u << 9,  // five minutes or more, the ball at 20 pixels a frame or faster
  SOLO = 1u << 10,
  MULTI = 1u << 11,
};
const unsigned ALL_FEATURES = (1u << 12) - 1;

// Five minutes of 40 ms frames.
const Uint32 FIVE_MINUTES = 7500;
const int FAST_BALL = 20;

class FEATURE_WATCH {
 public:
  explicit FEATURE_WATCH(GAME& g) : game(g) {}

  // After every flip of the game.
  void look() {
    const int entries = harness::plays("sfx/mini_enter.wav");
    if (entries > mini_entries) {
      const unsigned mini[3] = {TRAP_RUN, TREASURE_BOXES, CANNON_ROWS};
      seen |= mini[game.myminis->get_game() % 3];
      mini_entries = entries;
    }
    if (marker_on && !game.myfight->is_on()) seen |= SWORD_FIGHT;
    marker_on = game.myfight->is_on();
    if (!chest && game.myTreasure->collected()) seen |= CHEST_OPENED;
    chest = game.myTreasure->collected();
    if (!ruby && game.myRuby->is_collected()) seen |= RUBY_TAKEN;
    ruby = game.myRuby->is_collected();
    if (ghost_passed(*game.myPirate) || (game.multi && ghost_passed(*game.myPirate2))) {
      seen |= GHOST_PASS;
    }
    if (game.myPirate->is_dead() || (game.multi && game.myPirate2->is_dead())) dead = true;
    CANNONBALL& ball = *game.myCannonball;
    if (ball.get_xvel() >= FAST_BALL || ball.get_yvel() >= FAST_BALL) fast = true;
  }

  // Once the game is over, after drains drains of the event queue.
  unsigned finish(bool multi, Uint32 drains) {
    seen |= multi ? MULTI : SOLO;
    seen |= dead ? ENDED_BY_HITS : ENDED_BY_ESCAPE;
    if (drains >= FIVE_MINUTES && fast) seen |= LONG_FAST;
    return seen;
  }

  // Starts watching a new game.
  void begin() {
    seen = 0;
    mini_entries = harness::plays("sfx/mini_enter.wav");
    marker_on = game.myfight->is_on();
    chest = game.myTreasure->collected();
    ruby = game.myRuby->is_collected();
    fast = false;
    dead = false;
  }

 private:
  template <class P>
  bool ghost_passed(P& pirate) {
    return pirate.is_ghost() && !pirate.is_dead() &&
           check_collision(pirate.get_c_boxes(), game.myCannonball->get_c_boxes());
  }

  GAME& game;
  unsigned seen = 0;
  int mini_entries = 0;
  bool marker_on = false, chest = false, ruby = false, fast = false, dead = false;
};

inline std::string feature_names(unsigned f) {
  const char* const names[] = {
      "trap run", "treasure boxes", "cannonball rows", "sword fight",     "ghost pass",
      "chest",    "ruby",           "ended by hits",   "ended by Escape", "five minutes, fast ball",
      "solo",     "two players"};
  std::string out;
  for (int i = 0; i < 12; ++i) {
    if ((f & (1u << i)) == 0) continue;
    if (!out.empty()) out += ", ";
    out += names[i];
  }
  return out;
}
