#pragma once
#include <SDL.h>

#include "constants.h"

// Measures how long the current frame has taken. Time spent paused
// (pause.h) does not count. SDL's millisecond count wraps after
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

// A pace tap for as long as the object lasts (or until restore), putting
// back the one it replaced, as EVENT_TAP_SCOPE does for events.
class PACE_TAP_SCOPE {
 public:
  explicit PACE_TAP_SCOPE(PACE_TAP tap) : before_(set_pace_tap(tap)) {}
  ~PACE_TAP_SCOPE() { restore(); }
  PACE_TAP_SCOPE(const PACE_TAP_SCOPE&) = delete;
  PACE_TAP_SCOPE& operator=(const PACE_TAP_SCOPE&) = delete;
  void restore() {
    if (restored_) return;
    set_pace_tap(before_);
    restored_ = true;
  }

 private:
  PACE_TAP before_;
  bool restored_ = false;
};
