#pragma once
#include "game.h"

// The three splash pictures, five seconds each.
void splash(GAME& game);

// The title screen and the two hint screens. Returns false when the player
// pressed Escape to leave the game.
bool title_screens(GAME& game);

// The mode screen before each game: Space toggles two-player mode, Enter
// begins. Returns false when the player pressed Escape to leave the game.
bool mode_screen(GAME& game);
