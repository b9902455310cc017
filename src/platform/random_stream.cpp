#include "platform/random_stream.h"

const char* random_stream() { return DESKTOP_RANDOM_STREAM; }

const char* random_stream_home() { return "this desktop's"; }
