#pragma once
#include <string>

#include "game_state.h"
#include "platform/events.h"
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
// event the game reads and every frame's verdict from its making to stop()
// (or its end), and how the game stands at the stop. last_replay() holds it
// afterwards; the taps it replaced are put back.
class RECORDING {
 public:
  RECORDING(GAME& game, const REPLAY_START& start);
  ~RECORDING() { stop(); }
  RECORDING(const RECORDING&) = delete;
  RECORDING& operator=(const RECORDING&) = delete;
  void stop();

 private:
  GAME& game_;
  EVENT_TAP_SCOPE events_;
  PACE_TAP_SCOPE pace_;
  bool stopped_ = false;
};

// The last game recorded in this run (empty events and no version if none).
const RECORDED_GAME& last_replay();
