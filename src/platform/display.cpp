#include "platform/display.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/catalog.h"
#include "platform/quoted.h"
#include "platform/say.h"

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
    const std::string display = quoted(value) + " (" + variable + ")";
    // Two displays the game tried, {1} and {2}.
    names = names.empty() ? display : fill(tr("{1} or {2}"), {names, display});
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
      // {1} is the name of SDL's video driver.
      say(fill(tr("no display: set DISPLAY or WAYLAND_DISPLAY to the desktop's display (SDL "
                  "chose the '{1}' video driver, which shows nothing)"),
               {name}));
    } else {
      // {1} names the displays, {2} is the name of SDL's video driver.
      say(fill(tr("cannot open the display {1}; SDL fell back to its '{2}' video driver, which "
                  "shows nothing"),
               {named, name}));
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
    // {1} is the library's reason, in English.
    say(fill(tr("cannot start the display: {1}"), {why}));
  } else {
    // {1} names the displays, {2} is the library's reason, in English.
    say(fill(tr("cannot open the display {1}: {2}"), {named, why}));
  }
}
