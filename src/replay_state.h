#pragma once
#include <SDL.h>

#include <vector>

#include "game_state.h"

// What a new game takes over from the games before it in the same run (the
// pick-ups left on the playfield, the map piece and the marker, the ball's
// launches, the pirates' looks, the ghost time), as numbers.
std::vector<int> carried_state(GAME& game);
// Puts it back; false, changing nothing, if the numbers do not fit.
bool restore_carried_state(GAME& game, const std::vector<int>& carried);

// A hash of where a game stands: the pirates, the ball, the pick-ups, the
// score and the hearts.
Uint32 state_hash(GAME& game);
