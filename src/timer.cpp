#include "timer.h"

#include <SDL.h>

#include "constants.h"
#include "platform/frame.h"

TIMER::TIMER() : startTicks(0) {}

void TIMER::start() { startTicks = static_cast<int>(SDL_GetTicks()); }

int TIMER::get_ticks() { return static_cast<int>(SDL_GetTicks()) - startTicks; }

bool pace_frame(TIMER& timer) {
  if (timer.get_ticks() >= FRAME_MS) {
    frame_without_wait();
    return false;
  }
  // The clock may have moved on since the first look.
  const int rest = FRAME_MS - timer.get_ticks();
  if (rest > 0) {
    SDL_Delay(static_cast<Uint32>(rest));
  } else {
    frame_without_wait();
  }
  return true;
}
