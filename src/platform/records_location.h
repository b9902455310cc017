#pragma once
// Where the player's records live. In the working directory, as always,
// when the player can write them there; an installed copy started from a
// read-only directory keeps them in the player's data directory instead.
#include <string>

// The record file's name.
const char* const RECORDS_FILE = "records.dat";

// "records.dat" when it exists and is writable or the working directory is
// writable (and still there); otherwise $XDG_DATA_HOME/brinegrab/records.dat (an absolute
// XDG_DATA_HOME only), by default ~/.local/share/brinegrab/records.dat.
std::string records_path();

// The same, with the directories above it made (for the player alone) when
// they are missing, ready for a save. "" when one cannot be made: the
// reason is on stderr, and there is nothing to save.
std::string records_path_for_saving();

// Where the replay file `name` (last.replay, best-solo.replay, ...) lives,
// for reading and for writing: beside records.dat when the working directory
// can be written, otherwise in the player's data directory as the records
// are (a replay is replaced by a rename, so a writable records.dat in a
// read-only directory is not enough). The directories above it may still
// have to be made before it is written.
std::string replay_path(const std::string& name);
