#include "platform/frame.h"

void frame_without_wait() {}
