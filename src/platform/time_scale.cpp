#include "platform/time_scale.h"

namespace {

int scale = 1;

}  // namespace

void set_time_scale(int times) { scale = times < 1 ? 1 : times; }

int time_scale() { return scale; }
