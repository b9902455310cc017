#pragma once
#include "game_state.h"

// The three splash pictures, five seconds each; nothing once the command
// line asked for none (use_splash(false), --no-splash).
void splash(GAME& game);
void use_splash(bool on);

// The title screen and the two hint screens. Returns false when the player
// pressed Escape to leave the game.
bool title_screens(GAME& game);

// The mode screen before each game: Space toggles two-player mode, Enter
// begins. Returns false when the player pressed Escape to leave the game.
bool mode_screen(GAME& game);
