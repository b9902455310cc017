#pragma once
#include <cstddef>
#include <string>

// What a look at a game file, before it is read, found. A pipe would make
// its open or its first read wait for a writer for ever; a device may do
// anything: neither is ever opened blocking.
enum class FILE_KIND {
  REGULAR,      // a regular file the game may open
  MISSING,      // nothing there (or a path through something that is not a folder)
  UNREADABLE,   // there, but it cannot be opened for reading
  NOT_REGULAR,  // a pipe, a device, a socket or a folder
};

// Looks at path (symbolic links followed) with stat, then opens it without
// blocking and looks again at what was opened, in case it was replaced in
// between. Opens nothing for long: the file is closed again.
FILE_KIND regular_file_kind(const char* path);

// Which file, and which of its versions: a file refused once need not be read
// again while this stays the same.
struct FILE_STAMP {
  unsigned long long device = 0, inode = 0, size = 0, changed_ns = 0;
  bool operator==(const FILE_STAMP& o) const {
    return device == o.device && inode == o.inode && size == o.size && changed_ns == o.changed_ns;
  }
};

// The stamp of what path leads to; false when nothing is there.
bool file_stamp(const char* path, FILE_STAMP& stamp);

enum class READ_RESULT {
  WHOLE,        // bytes holds the whole file
  MISSING,      // error says why
  UNREADABLE,   // error says why
  NOT_REGULAR,  // never opened blocking
  TOO_LARGE,    // more than the bound: not read
};

// Reads a regular file whole, as regular_file_kind looks at it, into bytes,
// holding no more than most_bytes of it: a pipe, a device or an endless file
// costs neither a wait nor memory.
READ_RESULT read_regular_file(const char* path, size_t most_bytes, std::string& bytes, int& error);
