#pragma once
// The file side of the record file: reading it without ever blocking, and
// replacing its text safely while other games may be doing the same.
#include <functional>
#include <string>

#include "platform/replace_file.h"

namespace record_file {

// What went wrong: an errno value, or one of these.
constexpr int NOT_REGULAR = NOT_REGULAR_FILE;
constexpr int LOCKED = -2;  // another game held the lock for all the wait
std::string describe(int error);

// Reads the whole of a regular file into `text`. A missing file reads as
// empty and is no error; one over 64 KB is EFBIG, read as empty. A file that is not a regular one (a pipe, a
// directory, a device) is never opened blocking and is left alone.
int read_text(const std::string& path, std::string& text);

// What a change came to: error 0 when the new text is in place; otherwise
// what went wrong, and whether it was the reading of the old text (then
// nothing was written).
struct CHANGED {
  int error;
  bool reading;
};

// One read-change-write of the file, under one lock held across all of it:
// `change` gets the text the file holds ("" for none) and returns the text
// to put there. A file that exists but cannot be read is left alone. The
// lock is waited for two seconds at most (once a stop signal has come, no
// longer than the stop grace leaves time to save): a game stopped in the
// middle of its save may hold it. The new text replaces the old as
// replace_file does (platform/replace_file.h: links written through,
// permission bits kept, leftovers removed); when no temporary file can be
// made there but the file itself is writable, it is rewritten in place.
// `while_locked`, if given, runs once the new text is in place, before the
// lock is let go: for what must agree with the records (the best replays).
CHANGED change(const std::string& path,
               const std::function<std::string(const std::string&)>& change,
               const std::function<void()>& while_locked = nullptr);

}  // namespace record_file
