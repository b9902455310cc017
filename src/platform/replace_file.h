#pragma once
// Replacing a small file whole, so that a reader sees the old content or
// the new, never a part: a unique temporary file beside it, written, synced
// and renamed over it, and the directory synced.
#include <string>

// Makes the directories above path (for the player alone) when missing.
void make_directories_above(const std::string& path);

// False with the reason in error when the file could not be replaced; the
// old file is then as it was.
bool replace_file(const std::string& path, const std::string& text, std::string& error);
