#include "platform/display.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Drivers that draw into memory only.
const char* const INVISIBLE_DRIVERS[] = {"offscreen", "dummy"};

}  // namespace

bool display_shows_game() {
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  if (chosen != nullptr && *chosen != '\0') return true;
  char name[32] = "";
  if (SDL_VideoDriverName(name, sizeof name) == nullptr) return true;
  for (const char* invisible : INVISIBLE_DRIVERS) {
    if (std::strcmp(name, invisible) != 0) continue;
    std::fprintf(stderr,
                 "brinegrab: no display: set DISPLAY or WAYLAND_DISPLAY to the desktop's "
                 "display (SDL chose the '%s' video driver, which shows nothing)\n",
                 name);
    return false;
  }
  return true;
}
