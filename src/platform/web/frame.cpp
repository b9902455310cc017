#include "platform/frame.h"

#include <emscripten.h>

void frame_without_wait() { emscripten_sleep(0); }
