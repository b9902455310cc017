#pragma once
// A shared link's game, which the page leaves deflated beside the replay it
// is to become (REPLAY.deflate), made that replay before the game starts.
#include <cstddef>
#include <string>

enum class UNPACKED {
  NOTHING,        // no deflated game there: the replay is as the page left it
  WHOLE,          // the replay is in place
  NOT_A_REPLAY,   // not deflated data, or cut short
  TOO_LARGE,      // it unpacks to more than most bytes
  CANNOT_UNPACK,  // this browser cannot inflate
};

// Inflates REPLAY.deflate into replay, a piece at a time, giving up once it
// comes to more than most bytes; the deflated file is removed, and the
// replay written only when whole.
UNPACKED unpack_shared_game(const std::string& replay, size_t most);
