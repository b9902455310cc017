#include "timer.h"

#include <climits>

#include "constants.h"

TIMER::TIMER() : startTicks(0) {}

void TIMER::start() { startTicks = SDL_GetTicks(); }

int TIMER::get_ticks() {
  // Unsigned subtraction is exact across the wrap; only a count left
  // running for more than 24.8 days is too long for an int.
  const Uint32 elapsed = SDL_GetTicks() - startTicks;
  return elapsed > INT_MAX ? INT_MAX : static_cast<int>(elapsed);
}

bool pace_frame(TIMER& timer) {
  if (timer.get_ticks() >= FRAME_MS) return false;
  // The clock may have moved on since the first look.
  const int rest = FRAME_MS - timer.get_ticks();
  if (rest > 0) SDL_Delay(static_cast<Uint32>(rest));
  return true;
}
