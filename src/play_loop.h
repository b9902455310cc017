#pragma once
#include "game_state.h"
#include "paused_look.h"  // how a paused game looks

// Points for what a pirate picks up.
const int COIN_POINTS = 500;
const int RUBY_POINTS = 2500;
// Frames a pirate stays a ghost: ten seconds.
const int GHOST_FRAMES = 250;

// One game, frame after frame, until quit is set.
void play_loop(GAME& game);

// One frame of it; the loop is nothing more than this while quit is unset.
void play_frame(GAME& game);
