#pragma once
#include "game_state.h"
#include "records.h"

// The game-over screen: the score and both records, until Enter (another
// game) or Escape (leave the game, clearing restart). R watches the game just
// played and comes back here. When the game's record could not be saved, one
// more line says so.
void game_over_screen(GAME& game, bool record_saved = true);
