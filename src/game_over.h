#pragma once
#include "game.h"
#include "records.h"

// The game-over screen: the score and both records, until Enter (another
// game) or Escape (leave the game, clearing restart). R watches the game just
// played and comes back here.
void game_over_screen(GAME& game);
