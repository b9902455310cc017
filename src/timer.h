#pragma once

// Measures how long the current frame has taken.
class TIMER {
 public:
  TIMER();
  void start();
  int get_ticks();

 private:
  int startTicks;
};

// Waits out the rest of a 40 ms frame measured by timer; returns whether
// there was time left to wait.
bool pace_frame(TIMER& timer);
