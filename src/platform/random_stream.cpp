#include "platform/random_stream.h"

const char* random_stream_home() { return "this desktop's"; }
