#include "replay_state.h"

#include "play_loop.h"
#include "strip.h"

namespace {

const size_t CARRIED_COUNT = 79;

template <class P>
void add_pirate(std::vector<int>& v, P& p) {
  v.insert(v.end(), {p.get_frame(), p.get_status(), p.has_moved() ? 1 : 0, p.is_ghost() ? 1 : 0});
}

template <class P>
void restore_pirate(P& p, const int* v) {
  p.restore_look(v[0], v[1], v[2] != 0);
  if (v[3] != 0) {
    p.go_ghost();
  } else {
    p.not_ghost();
  }
}

template <class K>
void add_pickup(std::vector<int>& v, K& k) {
  v.insert(v.end(), {k.get_x(), k.get_y(), k.get_frame(), k.is_collected() ? 1 : 0});
}

}  // namespace

std::vector<int> carried_state(GAME& g) {
  std::vector<int> v;
  add_pirate(v, *g.myPirate);
  add_pirate(v, *g.myPirate2);
  v.push_back(g.myCannonball->get_rvel());
  v.push_back(g.myCoin->get_frame());
  add_pickup(v, *g.myRuby);
  add_pickup(v, *g.myGPIRATE);
  const SDL_Rect piece = g.myminis->get_hitbox();
  v.insert(v.end(), {piece.x, piece.y, g.myminis->get_frame(), g.myminis->get_game(),
                     g.myminis->is_on() ? 1 : 0});
  const SDL_Rect marker = g.myfight->get_hitbox();
  v.insert(v.end(), {marker.x, marker.y, g.myfight->get_frame(), g.myfight->is_on() ? 1 : 0});
  v.insert(v.end(), {g.ghost_counter, g.ghost_counter2, g.myTreasure->get_frame()});
  for (int i = 0; i < TREASURE::COLUMNS; ++i) {
    for (int j = 0; j < TREASURE::ROWS; ++j) v.push_back(g.myTreasure->piece_up(i, j) ? 1 : 0);
  }
  return v;
}

bool restore_carried_state(GAME& g, const std::vector<int>& v) {
  if (v.size() != CARRIED_COUNT) return false;
  // Animation frames pick cells of the sprite sheets: a value out of its
  // range would read outside them.
  struct RANGE {
    size_t first, last;
    int lowest, highest;
  };
  const int FLAG = 1, STEP = 7, FACING = 3, PORTAL = 11, GAMES = 2, WIDE = 100000;
  const RANGE ranges[] = {
      {0, 0, 0, STEP},
      {1, 1, 0, FACING},
      {2, 3, 0, FLAG},
      {4, 4, 0, STEP},
      {5, 5, 0, FACING},
      {6, 7, 0, FLAG},
      {8, 8, 0, WIDE},
      {9, 9, 0, STRIP_LAST_FRAME},
      {10, 11, -WIDE, WIDE},
      {12, 12, 0, STRIP_LAST_FRAME},
      {13, 13, 0, FLAG},
      {14, 15, -WIDE, WIDE},
      {16, 16, 0, STRIP_LAST_FRAME},
      {17, 17, 0, FLAG},
      {18, 19, -WIDE, WIDE},
      {20, 20, 0, PORTAL},
      {21, 21, 0, GAMES},
      {22, 22, 0, FLAG},
      {23, 24, -WIDE, WIDE},
      {25, 25, 0, PORTAL},
      {26, 26, 0, FLAG},
      {27, 28, 0, GHOST_FRAMES},
      {29, 29, 0, STRIP_LAST_FRAME},
      {30, CARRIED_COUNT - 1, 0, FLAG},
  };
  for (const RANGE& r : ranges) {
    for (size_t i = r.first; i <= r.last; ++i) {
      if (v[i] < r.lowest || v[i] > r.highest) return false;
    }
  }
  const int* p = v.data();
  restore_pirate(*g.myPirate, p);
  restore_pirate(*g.myPirate2, p + 4);
  g.myCannonball->restore_launches(p[8]);
  g.myCoin->restore_frame(p[9]);
  g.myRuby->restore(p[10], p[11], p[12], p[13] != 0);
  g.myGPIRATE->restore(p[14], p[15], p[16], p[17] != 0);
  g.myminis->restore(p[18], p[19], p[20], p[21], p[22] != 0);
  g.myfight->restore(p[23], p[24], p[25], p[26] != 0);
  g.ghost_counter = p[27];
  g.ghost_counter2 = p[28];
  const int* pieces = p + 30;
  for (int i = 0; i < TREASURE::COLUMNS; ++i) {
    for (int j = 0; j < TREASURE::ROWS; ++j) {
      g.myTreasure->restore(p[29], i, j, pieces[i * TREASURE::ROWS + j] != 0);
    }
  }
  return true;
}

Uint32 state_hash(GAME& g) {
  std::vector<int> v = carried_state(g);
  PIRATE& a = *g.myPirate;
  PIRATE2& b = *g.myPirate2;
  const CANNONBALL& ball = *g.myCannonball;
  v.insert(v.end(), {a.get_x(),
                     a.get_y(),
                     a.get_xvel(),
                     a.get_yvel(),
                     b.get_x(),
                     b.get_y(),
                     b.get_xvel(),
                     b.get_yvel(),
                     a.is_dead() ? 1 : 0,
                     b.is_dead() ? 1 : 0,
                     ball.get_x(),
                     ball.get_y(),
                     ball.get_xvel(),
                     ball.get_yvel(),
                     ball.get_airway(),
                     g.myCoin->get_x(),
                     g.myCoin->get_y(),
                     g.myTreasure->get_x(),
                     g.myTreasure->get_y(),
                     g.myTreasure->collected() ? 1 : 0,
                     g.score,
                     g.lives1,
                     g.lives2,
                     g.multi ? 1 : 0});
  // FNV-1a over the numbers' bytes, low byte first.
  Uint32 hash = 2166136261u;
  for (int n : v) {
    const Uint32 u = static_cast<Uint32>(n);
    for (int shift = 0; shift < 32; shift += 8) {
      hash ^= (u >> shift) & 0xffu;
      hash *= 16777619u;
    }
  }
  return hash;
}
