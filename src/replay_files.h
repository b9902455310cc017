#pragma once
#include <string>

#include "replay.h"

// Reads a replay file for this build; false with one line in error if it
// cannot be watched here.
bool load_replay(const std::string& path, RECORDED_GAME& replay, std::string& error);

// Replaces the file with bytes as the records are replaced: a unique
// temporary file beside it, synced, renamed over it. A failure is said on
// stderr, in one line, and costs nothing else.
bool keep_file(const std::string& path, const std::string& bytes);

// The directory part of a path, with its slash ("" for a bare name).
std::string directory_of(const std::string& path);
