#pragma once
#include "game_state.h"

// Setting up a new game: the first half comes before the mode screen, the
// second once the mode is chosen. A watched replay sets its game up the same way.
void prepare_before_mode(GAME& game);
void prepare_after_mode(GAME& game);
