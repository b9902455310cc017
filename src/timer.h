#pragma once
#include <SDL.h>

// Measures how long the current frame has taken. Time spent paused
// (platform/pause.h) does not count.
class TIMER {
 public:
  TIMER();
  void start();
  int get_ticks();

 private:
  int startTicks;
  Uint32 pausedAtStart;
};

// Waits out the rest of a 40 ms frame measured by timer; returns whether
// there was time left to wait.
bool pace_frame(TIMER& timer);
