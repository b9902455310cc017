#include "timer.h"

#include <SDL.h>

#include "constants.h"
#include "platform/pause.h"
#include "platform/signals.h"

TIMER::TIMER() : startTicks(0), pausedAtStart(0) {}

void TIMER::start() {
  startTicks = static_cast<int>(SDL_GetTicks());
  pausedAtStart = paused_ms();
}

int TIMER::get_ticks() {
  const int paused = static_cast<int>(paused_ms() - pausedAtStart);
  return static_cast<int>(SDL_GetTicks()) - startTicks - paused;
}

bool pace_frame(TIMER& timer) {
  if (timer.get_ticks() >= FRAME_MS) return false;
  // The clock may have moved on since the first look.
  const int rest = FRAME_MS - timer.get_ticks();
  // A game that a signal has asked to end does not wait for its next frame.
  if (rest > 0 && !stop_requested()) SDL_Delay(static_cast<Uint32>(rest));
  return true;
}
