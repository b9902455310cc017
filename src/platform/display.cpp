#include "platform/display.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/quoted.h"

namespace {

// Drivers that draw into memory only.
const char* const INVISIBLE_DRIVERS[] = {"offscreen", "dummy"};

// The displays the environment names, as "':1' (DISPLAY)", or "" for none:
// when one is named but none opened, the player needs its name, not advice
// to set the variable.
std::string named_displays() {
  std::string names;
  for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') continue;
    if (!names.empty()) names += " or ";
    names += quoted(value) + " (" + variable + ")";
  }
  return names;
}

}  // namespace

bool display_shows_game() {
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  if (chosen != nullptr && *chosen != '\0') return true;
  char name[32] = "";
  if (SDL_VideoDriverName(name, sizeof name) == nullptr) return true;
  for (const char* invisible : INVISIBLE_DRIVERS) {
    if (std::strcmp(name, invisible) != 0) continue;
    const std::string named = named_displays();
    if (named.empty()) {
      std::fprintf(stderr,
                   "brinegrab: no display: set DISPLAY or WAYLAND_DISPLAY to the desktop's "
                   "display (SDL chose the '%s' video driver, which shows nothing)\n",
                   name);
    } else {
      std::fprintf(stderr,
                   "brinegrab: cannot open the display %s; SDL fell back to its '%s' video "
                   "driver, which shows nothing\n",
                   named.c_str(), name);
    }
    return false;
  }
  return true;
}

void report_display_failure(const char* reason) {
  const std::string named = named_displays();
  // SDL's reason may repeat the driver the environment asked for.
  const std::string why = escaped(reason);
  if (named.empty()) {
    std::fprintf(stderr, "brinegrab: cannot start the display: %s\n", why.c_str());
  } else {
    std::fprintf(stderr, "brinegrab: cannot open the display %s: %s\n", named.c_str(),
                 why.c_str());
  }
}
