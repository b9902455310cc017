// Linked into the desktop game alone, with --wrap=SDL_Delay: every wait of
// the game (the frame's, the mini-games' fixed ones, the pauses after a hit)
// is shortened by the time scale while a replay is watched fast. The tests
// put their virtual clock in SDL_Delay's place instead.
#include <SDL.h>

#include "platform/time_scale.h"

extern "C" void __real_SDL_Delay(Uint32 ms);

extern "C" void __wrap_SDL_Delay(Uint32 ms) {
  __real_SDL_Delay(ms / static_cast<Uint32>(time_scale()));
}
