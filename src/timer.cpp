#include "timer.h"

#include <climits>

#include "constants.h"
#include "platform/frame.h"
#include "pause.h"
#include "platform/signals.h"

// Time paused before the timer was made is not its own.
TIMER::TIMER() : startTicks(0), pausedAtStart(paused_ms()) {}

void TIMER::start() {
  startTicks = SDL_GetTicks();
  pausedAtStart = paused_ms();
}

int TIMER::get_ticks() {
  // Unsigned subtraction is exact across the wrap; only a count left
  // running for more than 24.8 days is too long for an int.
  const Uint32 elapsed = SDL_GetTicks() - startTicks - (paused_ms() - pausedAtStart);
  return elapsed > INT_MAX ? INT_MAX : static_cast<int>(elapsed);
}

namespace {

PACE_TAP pace_tap = nullptr;

bool wait_out_frame(TIMER& timer, int frame_ms) {
  if (timer.get_ticks() >= frame_ms) {
    frame_without_wait();
    return false;
  }
  // The clock may have moved on since the first look.
  const int rest = frame_ms - timer.get_ticks();
  // A game that a signal has asked to end does not wait for its next frame.
  if (rest > 0 && !stop_requested()) {
    SDL_Delay(static_cast<Uint32>(rest));
  } else {
    frame_without_wait();
  }
  return true;
}

}  // namespace

bool pace_frame(TIMER& timer, int frame_ms) {
  return pace_tap != nullptr ? pace_tap(timer, frame_ms, wait_out_frame)
                             : wait_out_frame(timer, frame_ms);
}

PACE_TAP set_pace_tap(PACE_TAP tap) {
  const PACE_TAP before = pace_tap;
  pace_tap = tap;
  return before;
}
