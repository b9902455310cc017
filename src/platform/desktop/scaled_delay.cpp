// Linked into the desktop game alone, with --wrap=SDL_Delay: every wait of
// the game (the frame's, the mini-games' fixed ones, the pauses after a hit)
// is shortened by the time scale while a replay is watched fast. The tests
// put their virtual clock in SDL_Delay's place instead.
#include <SDL.h>

#include "platform/time_scale.h"

extern "C" void __real_SDL_Delay(Uint32 ms);

extern "C" void __wrap_SDL_Delay(Uint32 ms) {
  const Uint32 scaled = ms / static_cast<Uint32>(time_scale());
  // A wait shortened to nothing is no wait, not a sleep of the system's
  // shortest (a replay checked as fast as it goes waits for nothing).
  if (scaled == 0 && ms > 0) return;
  __real_SDL_Delay(scaled);
}
