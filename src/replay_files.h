#pragma once
#include <string>

#include "replay.h"

// Reads a replay file for this build; false with one line in error if it
// cannot be watched here.
bool load_replay(const std::string& path, RECORDED_GAME& replay, std::string& error);

// Replaces the file with bytes as every small file of the game is replaced
// (replace_file). A failure is said on stderr, in one line, and costs
// nothing else.
bool keep_file(const std::string& path, const std::string& bytes);

// Keeps a game just played, its record first. A game that counts (not a
// slowed-down one) updates the records, and in the same locked step its
// replay becomes best-MODE.replay exactly when its score is the record
// saved: written and synced before the lock, renamed in place under it, so
// the best replay is always the record's game. Then last.replay. Returns
// whether the records were saved (true for a game that does not count).
bool keep_game(const RECORDED_GAME& game, bool counts);
