#pragma once
#include <string>

// The mode screen's line of the players' keys. With the default keys it is
// the game's own line; a player whose keys differ from the defaults is shown
// with the keys he plays with (up, left, down, right / strike).
std::string players_keys_line();
