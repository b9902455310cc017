#pragma once
#include <cstddef>
#include <string>

#include "replay.h"

// A file larger than this is no replay of ours (a five-minute game takes a
// few kilobytes); nor is a shared link's game that unpacks to more.
constexpr size_t MOST_REPLAY_BYTES = 16u << 20;

// Why a replay cannot be watched: its file cannot be read, its bytes are not
// a replay, or another build of the game made it.
enum class REPLAY_REFUSAL { UNREADABLE, DAMAGED, OTHER_BUILD };

// Reads a replay file for this build, if it is a regular file of 16 MB at
// most (MOST_REPLAY_BYTES); false with one line in error if it cannot be watched here, and why
// in refusal when one is given.
bool load_replay(const std::string& path, RECORDED_GAME& replay, std::string& error,
                 REPLAY_REFUSAL* refusal = nullptr);

// The same for a file looked at again and again (the attract mode's): a file
// refused is said once on stderr and not read again until it changes
// (another file in its place, another size or time).
bool load_replay_once(const std::string& path, RECORDED_GAME& replay);

// The better of the best games kept (best-solo.replay and best-multi.replay,
// where replay_path finds them): the one with the higher score. False, with why each
// could not be read in error, when neither can be watched here. Looked at
// again and again (the attract mode), each is read as load_replay_once reads.
// The chosen file's path goes to path, if given.
bool load_best_kept(RECORDED_GAME& best, std::string& error, bool looked_at_again = false,
                    std::string* path = nullptr);

// What the window says when a game the game keeps cannot be watched: the
// desktop entry's actions have no terminal to read stderr on.
struct NOT_WATCHED {
  std::string line;    // "" for a file the player named
  std::string reason;  // why, when a file is there; "" when no game is kept
};

// A replay file refused: why, as said on stderr, and of what kind.
struct REFUSED_REPLAY {
  std::string why;
  REPLAY_REFUSAL kind = REPLAY_REFUSAL::UNREADABLE;
};

// The replay a player named on the command line: a file, or "last" or
// "best" for the games the game keeps. False, having said why on stderr in
// one line, when it cannot be watched here; for "last" and "best", with the
// words for the window in not_watched, if given; for a file refused, why in
// refused, if given, for the caller to tell the page.
bool load_named_replay(const char* name, RECORDED_GAME& replay, NOT_WATCHED* not_watched = nullptr,
                       REFUSED_REPLAY* refused = nullptr);

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
