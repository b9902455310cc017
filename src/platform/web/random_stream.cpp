// The browser's C library (musl) draws other numbers than glibc from the same
// seed; its rand() and srand() are replaced by glibc's generator, so a replay
// or a shared link plays the same game in the browser and on the desktop.
#include <cstdlib>

#include "platform/catalog.h"
#include "platform/glibc_random.h"
#include "platform/random_stream.h"

namespace {

GLIBC_RANDOM stream;
bool seeded = false;

}  // namespace

extern "C" void srand(unsigned seed) {
  glibc_seed(stream, seed);
  seeded = true;
}

extern "C" int rand() {
  if (!seeded) srand(1);  // as C asks of a rand() before any srand()
  return glibc_next(stream);
}

const char* other_stream_text() {
  // Why a replay cannot be watched: {1} names another C library ("musl").
  return tr("made by a game drawing from {1}, whose random numbers differ from this browser's");
}
