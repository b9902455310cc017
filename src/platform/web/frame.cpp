#include "platform/frame.h"

#include <SDL.h>
#include <emscripten.h>

void frame_without_wait() { emscripten_sleep(0); }

namespace {

int flips = 0;

}  // namespace

// The browser's SDL draws straight onto the page's canvas, so a flip has
// nothing to show; it is counted, and the page may watch it (Module.onFlip).
// clang-format off
EM_JS(void, report_flip, (int count), {
  if (Module['onFlip']) Module['onFlip'](count);
});
// clang-format on

extern "C" int SDL_Flip(SDL_Surface*) {
  report_flip(++flips);
  return 0;
}
