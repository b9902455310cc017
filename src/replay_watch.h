#pragma once
#include "game_state.h"
#include "replay.h"

// How the watched play ended, for a caller that compares it.
struct REPLAY_END {
  int score = 0;
  Uint32 drains = 0;
  Uint32 state = 0;
};

// Plays a replay on the game's own screens and loops: Space pauses, Right
// speeds up (2x, 4x, 8x), Left goes back to 1x, Escape stops. Everything the
// game was before is put back afterwards (the random numbers included), so a
// run goes on as if nothing had been watched. Returns false, having said why
// on stderr, when the replay cannot be played or its play diverged from what
// it recorded.
bool watch_replay(GAME& game, const RECORDED_GAME& replay, REPLAY_END* end = nullptr);

// Watches the last game recorded, from the game-over screen, and comes back to it.
void watch_last_game(GAME& game);

// While on (the attract mode's), any key stops the watching as Escape does.
void any_key_stops_watching(bool on);
