#include "replay_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/catalog.h"
#include "platform/file_problem.h"
#include "platform/page_files.h"
#include "platform/quoted.h"
#include "platform/records_location.h"
#include "platform/regular_file.h"
#include "platform/replace_file.h"
#include "platform/say.h"
#include "records.h"

namespace {

void say_not_kept(const std::string& path, int error) {
  // {1} is a replay file, {2} why it cannot be written.
  say(fill(tr("cannot keep the replay {1}: {2}"), {quoted(path), file_error_text(error)}));
}

}  // namespace

bool load_replay(const std::string& path, RECORDED_GAME& replay, std::string& error,
                 REPLAY_REFUSAL* refusal) {
  REPLAY_REFUSAL unused = REPLAY_REFUSAL::UNREADABLE;
  REPLAY_REFUSAL& kind = refusal != nullptr ? *refusal : unused;
  std::string bytes;
  int why = 0;
  const READ_RESULT got = read_regular_file(path.c_str(), MOST_REPLAY_BYTES, bytes, why);
  if (got != READ_RESULT::WHOLE) {
    kind = REPLAY_REFUSAL::UNREADABLE;
    error = got == READ_RESULT::TOO_LARGE ? tr("too large for a replay") : read_problem(got, why);
    return false;
  }
  if (!parse_replay(bytes, replay, error)) {
    // Another version's file may be whole in its own terms: say whose it is.
    kind = REPLAY_REFUSAL::DAMAGED;
    std::string whose;
    if (!replay.version.empty() && !replay_fits_build(replay, whose)) {
      error = whose;
      kind = REPLAY_REFUSAL::OTHER_BUILD;
    }
    return false;
  }
  kind = REPLAY_REFUSAL::OTHER_BUILD;
  return replay_fits_build(replay, error);
}

bool load_replay_once(const std::string& path, RECORDED_GAME& replay) {
  // Each file refused, as it was when refused.
  static std::vector<std::pair<std::string, FILE_STAMP>> refused;
  FILE_STAMP now;
  if (!file_stamp(path.c_str(), now)) return false;  // none kept yet
  auto known =
      std::find_if(refused.begin(), refused.end(), [&](const auto& r) { return r.first == path; });
  if (known != refused.end() && known->second == now) return false;
  std::string error;
  if (load_replay(path, replay, error)) {
    if (known != refused.end()) refused.erase(known);
    return true;
  }
  if (known == refused.end()) {
    refused.push_back({path, now});
  } else {
    known->second = now;
  }
  // {1} is a replay file, {2} why it cannot be watched.
  say(fill(tr("cannot show {1}: {2}"), {quoted(path), error}));
  return false;
}

bool keep_file(const std::string& path, const std::string& bytes) {
  const int error = replace_file(path, bytes, MOST_REPLAY_BYTES);
  if (error != 0) say_not_kept(path, error);
  return error == 0;
}

bool keep_game(const RECORDED_GAME& game, bool counts) {
  const std::string bytes = replay_text(game);
  // The best replay's directory is the last one's.
  const std::string last = replay_path("last.replay");
  make_directories_above(last);
  for (const char* name : {"best-solo.replay", "best-multi.replay"}) {
    remove_leftovers(replay_path(name), MOST_REPLAY_BYTES);
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
      const int error = prepare_file(best, bytes, MOST_REPLAY_BYTES, candidate);
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

bool load_best_kept(RECORDED_GAME& best, std::string& error, bool looked_at_again,
                    std::string* best_path) {
  bool found = false;
  error.clear();
  for (const char* name : {"best-solo.replay", "best-multi.replay"}) {
    const std::string path = replay_path(name);
    RECORDED_GAME replay;
    std::string why;
    if (looked_at_again ? !load_replay_once(path, replay) : !load_replay(path, replay, why)) {
      error += (error.empty() ? "" : "; ") + quoted(path.c_str()) + ": " + why;
    } else if (!found || replay.score > best.score) {
      best = replay;
      found = true;
      if (best_path != nullptr) *best_path = path;
    }
  }
  return found;
}

namespace {

// The window's words for a kept game that cannot be watched: why the first
// of its files that is there is refused, or that none is.
NOT_WATCHED not_watched_kept(bool last) {
  const std::vector<const char*> names =
      last ? std::vector<const char*>{"last.replay"}
           : std::vector<const char*>{"best-solo.replay", "best-multi.replay"};
  for (const char* name : names) {
    const std::string path = replay_path(name);
    FILE_STAMP stamp;
    if (!file_stamp(path.c_str(), stamp)) continue;
    RECORDED_GAME replay;
    std::string why;
    if (load_replay(path, replay, why)) continue;
    if (last) {
      // fit: MARK 620
      // On the window of "Watch the last game"; why follows below it.
      return {tr("The last game kept cannot be watched"), why};
    }
    // fit: MARK 620
    // On the window of "Watch the best game"; why follows below it.
    return {tr("The best game kept cannot be watched"), why};
  }
  // fit: MARK 620
  // On the window of "Watch the last game" or "Watch the best game" before
  // any game was played.
  return {tr("No game has been kept to watch yet"), ""};
}

}  // namespace

bool load_named_replay(const char* name, RECORDED_GAME& replay, NOT_WATCHED* not_watched,
                       REFUSED_REPLAY* refused) {
  std::string error;
  if (std::strcmp(name, "best") == 0) {
    if (load_best_kept(replay, error)) return true;
    // {1} says why, for each of the files of the best games.
    say(fill(tr("cannot watch the best game: {1}"), {error}));
    if (not_watched != nullptr) *not_watched = not_watched_kept(false);
    return false;
  }
  const bool last = std::strcmp(name, "last") == 0;
  const std::string path = last ? replay_path("last.replay") : name;
  REPLAY_REFUSAL refusal = REPLAY_REFUSAL::UNREADABLE;
  // A shared link's game is unpacked first (in the browser).
  if (unpack_page_file(path, MOST_REPLAY_BYTES, error) &&
      load_replay(path, replay, error, &refusal)) {
    return true;
  }
  if (last && not_watched != nullptr) *not_watched = not_watched_kept(true);
  if (refused != nullptr) *refused = {error, refusal};
  // {1} is a replay file, {2} why it cannot be watched.
  say(fill(tr("cannot watch {1}: {2}"), {quoted(path.c_str()), error}));
  return false;
}
