#pragma once
#include <SDL.h>

#include "constants.h"

// Measures how long the current frame has taken. Time spent paused
// (platform/pause.h) does not count. SDL's millisecond count wraps after
// 49.7 days; it is kept in its own unsigned type, so a frame that spans the
// wrap still measures right.
class TIMER {
 public:
  TIMER();
  void start();
  int get_ticks();

 private:
  Uint32 startTicks;
  Uint32 pausedAtStart;
};

// Waits out the rest of a frame of frame_ms (40 ms unless the game is
// slowed down) measured by timer; returns whether there was time left to
// wait.
bool pace_frame(TIMER& timer, int frame_ms = FRAME_MS);

// A replay's recorder or player stands in pace_frame's place: it is handed
// the timer, the frame's length and the real pacing. The plain game has none.
using FRAME_PACER = bool (*)(TIMER& timer, int frame_ms);
using PACE_TAP = bool (*)(TIMER& timer, int frame_ms, FRAME_PACER live);
PACE_TAP set_pace_tap(PACE_TAP tap);  // returns the one it replaces
