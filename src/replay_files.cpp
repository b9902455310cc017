#include "replay_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "platform/records_location.h"
#include "platform/replace_file.h"
#include "records.h"

namespace {

// A file larger than this is no replay of ours (a five-minute game takes a
// few kilobytes).
const long MOST_BYTES = 16l << 20;

void say_not_kept(const std::string& path, int error) {
  std::fprintf(stderr, "brinegrab: cannot keep the replay %s: %s\n", path.c_str(),
               file_error_text(error).c_str());
}

}  // namespace

bool load_replay(const std::string& path, RECORDED_GAME& replay, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
    return false;
  }
  std::string bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, static_cast<size_t>(in.gcount()));
    if (static_cast<long>(bytes.size()) > MOST_BYTES) {
      error = "too large for a replay";
      return false;
    }
  }
  if (!parse_replay(bytes, replay, error)) {
    // Another version's file may be whole in its own terms: say whose it is.
    std::string whose;
    if (!replay.version.empty() && !replay_fits_build(replay, whose)) error = whose;
    return false;
  }
  return replay_fits_build(replay, error);
}

bool keep_file(const std::string& path, const std::string& bytes) {
  const int error = replace_file(path, bytes, static_cast<size_t>(MOST_BYTES));
  if (error != 0) say_not_kept(path, error);
  return error == 0;
}

bool keep_game(const RECORDED_GAME& game, bool counts) {
  const std::string bytes = replay_text(game);
  // The best replay's directory is the last one's.
  const std::string last = replay_path("last.replay");
  make_directories_above(last);
  for (const char* name : {"best-solo.replay", "best-multi.replay"}) {
    remove_leftovers(replay_path(name), static_cast<size_t>(MOST_BYTES));
  }
  bool saved = true;
  if (counts) {
    const std::string records = records_path_for_saving();
    const std::string best = replay_path(game.multi ? "best-multi.replay" : "best-solo.replay");
    PREPARED_FILE candidate;
    // Only a game that beats the records as they stand now can hold one
    // once locked: records never go down.
    const RECORDS before = records.empty() ? RECORDS() : read_records(records);
    if (!records.empty() && game.score > (game.multi ? before.multi : before.solo)) {
      const int error = prepare_file(best, bytes, static_cast<size_t>(MOST_BYTES), candidate);
      if (error != 0) say_not_kept(best, error);
    }
    saved = !records.empty() && update_records(game.score, game.multi, records, [&] {
      if (candidate.temporary.empty()) return;
      const int error = put_in_place(candidate);
      if (error != 0) say_not_kept(best, error);
    });
    discard(candidate);
  }
  keep_file(last, bytes);
  return saved;
}
