#include "key_line.h"

#include "controls.h"
#include "keycaps.h"
#include "platform/catalog.h"

namespace {

// Each player's keys to move and to strike, "/" between the two.
const char* const DEFAULT_KEYS[PLAYERS] = {N_("Arrow keys / Ctrl"), N_("W,A,S,D / G")};

std::string keys_of(int player) {
  bool as_default = true;
  for (int m = 0; m < PLAYER_MOVES; ++m) {
    const ACTION a = player_action(player, static_cast<PLAYER_MOVE>(m));
    as_default = as_default && key_of(a) == control(a).key;
  }
  if (as_default) return tr(DEFAULT_KEYS[player]);
  // In the order of the game's own "W,A,S,D": up, left, down, right.
  const PLAYER_MOVE order[] = {MOVE_UP, MOVE_LEFT, MOVE_DOWN, MOVE_RIGHT};
  std::string keys;
  for (PLAYER_MOVE move : order) {
    keys += (keys.empty() ? "" : ",") + keycap(player_key(player, move));
  }
  return keys + " / " + keycap(player_key(player, MOVE_STRIKE));
}

}  // namespace

std::string players_keys_line() {
  // fit: TEXT 620
  // {1} is pirate one's keys ("Arrow keys / Ctrl"), {2} pirate two's ("W,A,S,D / G").
  return fill(tr("P1: {1}      P2: {2}"), {keys_of(0), keys_of(1)});
}
