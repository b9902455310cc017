#include "key_line.h"

#include "controls.h"
#include "keycaps.h"

namespace {

const char* const DEFAULT_KEYS[PLAYERS] = {"Arrow keys / Ctrl", "W,A,S,D / G"};
const char* const GAP = "      ";

std::string keys_of(int player) {
  bool as_default = true;
  for (int m = 0; m < PLAYER_MOVES; ++m) {
    const ACTION a = player_action(player, static_cast<PLAYER_MOVE>(m));
    as_default = as_default && key_of(a) == control(a).key;
  }
  if (as_default) return DEFAULT_KEYS[player];
  // In the order of the game's own "W,A,S,D": up, left, down, right.
  const PLAYER_MOVE order[] = {MOVE_UP, MOVE_LEFT, MOVE_DOWN, MOVE_RIGHT};
  std::string keys;
  for (PLAYER_MOVE move : order) {
    keys += (keys.empty() ? "" : ",") + keycap(player_key(player, move));
  }
  return keys + " / " + keycap(player_key(player, MOVE_STRIKE));
}

}  // namespace

std::string players_keys_line() { return "P1: " + keys_of(0) + GAP + "P2: " + keys_of(1); }
