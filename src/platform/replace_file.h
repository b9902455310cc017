#pragma once
// Keeping a small file (the records, the replays, the settings) whole, so
// that a reader sees the old content or the new, never a part: a unique
// temporary file beside it (its name, a dot and six letters or digits),
// written, synced and renamed over it, and the directory synced.
#include <string>

// What went wrong: an errno value, or this.
constexpr int NOT_REGULAR_FILE = -1;

// Makes the directories above path (for the player alone) when missing.
// Returns 0 when they are all there, else the error of the first one that
// cannot be made (EROFS, EACCES, ENOTDIR: what a later write would only see
// as a missing directory), with that directory in failed, if given.
int make_directories_above(const std::string& path, std::string* failed = nullptr);

// The file a chain of symbolic links leads to (which may not exist yet).
std::string follow_links(std::string path);

// The directory of a path ("." for a bare name).
std::string directory_of(const std::string& path);

// Writes all of text at the start of fd.
bool write_whole(int fd, const std::string& text);

// New content, written to its temporary file and synced, not yet in place.
struct PREPARED_FILE {
  std::string path;        // the file it replaces, links followed
  std::string temporary;   // empty when there is none (none made, or renamed)
  bool none_made = false;  // no temporary file could be made beside the file
};

// The first half of a replacement, for a caller that decides later, under a
// lock of its own, whether the new content goes in place. A symbolic link
// is written through: its target is replaced beside itself and the link
// kept. The new file keeps the old one's permission bits (and owner, where
// allowed); a new one gets 0666 less the umask. A file that exists but is
// not a regular one, or cannot be read (another player's), is never
// replaced. Leftover temporary files of the same name, older than a minute
// and no longer than most_bytes, are removed first: a game killed in the
// middle of a save leaves one. Returns 0 or the error.
int prepare_file(const std::string& path, const std::string& text, size_t most_bytes,
                 PREPARED_FILE& prepared);

// The second half: renames the prepared file over its path and syncs the
// directory (in the browser that sync is what writes it to the browser's
// storage). Returns 0 or the error (a sync that fails for want of room or
// by an I/O error is one, the file renamed all the same); the temporary
// file is gone either way.
int put_in_place(PREPARED_FILE& prepared);

// Removes a prepared file that is not to be kept (none: nothing).
void discard(PREPARED_FILE& prepared);

// Removes leftover temporary files of path (see prepare_file), which
// prepare_file does by itself: for a file replaced only now and then.
void remove_leftovers(const std::string& path, size_t most_bytes);

// Both halves at once. Returns 0 or the error; the old file is then as it
// was, unless only the directory's sync failed (put_in_place).
int replace_file(const std::string& path, const std::string& text, size_t most_bytes);
