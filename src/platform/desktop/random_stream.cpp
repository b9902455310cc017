#include "platform/random_stream.h"

#include "platform/catalog.h"

const char* other_stream_text() {
  // Why a replay cannot be watched: {1} names another C library ("musl").
  return tr("made by a game drawing from {1}, whose random numbers differ from this desktop's");
}
