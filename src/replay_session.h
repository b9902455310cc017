#pragma once
#include <string>

#include "game.h"
#include "replay.h"
#include "replay_files.h"

// Where a game begins: what it takes over from the games before it and how
// far into the stream of random numbers the run has got. Taken before the
// game is set up.
struct REPLAY_START {
  std::vector<int> carried;
  unsigned seed = 0;
  unsigned long draws = 0;
};
REPLAY_START replay_start(GAME& game);

// The play loop, recorded, and the game then kept (keep_game): its record
// first, with best-solo.replay or best-multi.replay when it is the record
// saved, then last.replay. Returns whether the records were saved.
bool play_recorded(GAME& game, const REPLAY_START& start);

// The recording alone, as play_recorded does it around the play loop: every
// event the game reads and every frame's verdict from start to stop, and
// how the game stands at the stop. last_replay() holds it afterwards.
void start_recording(GAME& game, const REPLAY_START& start);
void stop_recording(GAME& game);

// The last game recorded in this run (empty events and no version if none).
const RECORDED_GAME& last_replay();

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

// The kiosk's attract mode (--attract): while an ATTRACT_SCOPE lasts (the
// title screens), 30 s without a key plays the best game kept, of either
// mode, and any key returns to the screen it left.
void use_attract_mode(bool on);
class ATTRACT_SCOPE {
 public:
  explicit ATTRACT_SCOPE(GAME& game);
  ~ATTRACT_SCOPE();
  ATTRACT_SCOPE(const ATTRACT_SCOPE&) = delete;
  ATTRACT_SCOPE& operator=(const ATTRACT_SCOPE&) = delete;
};
