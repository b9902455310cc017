// The same seed gives other numbers here than on the desktop: musl's rand()
// is not glibc's.
#include "platform/random_stream.h"

const char* random_stream() { return BROWSER_RANDOM_STREAM; }

const char* random_stream_home() { return "this browser's"; }
