#pragma once

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
