#include "replay_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/quoted.h"
#include "platform/regular_file.h"

#include "platform/quoted.h"
#include "platform/records_location.h"

namespace {

// A file larger than this is no replay of ours (a five-minute game takes a
// few kilobytes).
const size_t MOST_BYTES = 16u << 20;

}  // namespace

std::string directory_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool load_replay(const std::string& path, RECORDED_GAME& replay, std::string& error) {
  std::string bytes;
  int why = 0;
  const READ_RESULT got = read_regular_file(path.c_str(), MOST_BYTES, bytes, why);
  if (got != READ_RESULT::WHOLE) {
    error = got == READ_RESULT::TOO_LARGE ? "too large for a replay" : read_problem(got, why);
    return false;
  }
  if (!parse_replay(bytes, replay, error)) {
    // Another version's file may be whole in its own terms: say whose it is.
    std::string whose;
    if (!replay.version.empty() && !replay_fits_build(replay, whose)) error = whose;
    return false;
  }
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
  std::fprintf(stderr, "brinegrab: cannot show %s: %s\n", quoted(path).c_str(), error.c_str());
  return false;
}

bool keep_file(const std::string& path, const std::string& bytes) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(&temporary[0]);
  bool ok = fd >= 0;
  int why = ok ? 0 : errno;
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
    if (!ok) why = errno;
  }
  if (ok && fsync(fd) != 0) ok = false, why = errno;
  if (fd >= 0 && close(fd) != 0 && ok) ok = false, why = errno;
  if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) ok = false, why = errno;
  if (ok) {
    // The rename outlives a crash; in the browser this is what writes it to
    // the browser's storage, where the file's own sync left the temporary name.
    const std::string dir = directory_of(path);
    const int dir_fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd >= 0) {
      fsync(dir_fd);
      close(dir_fd);
    }
  }
  if (!ok) {
    if (fd >= 0) unlink(temporary.c_str());
    std::fprintf(stderr, "brinegrab: cannot keep the replay %s: %s\n", quoted(path).c_str(),
                 std::strerror(why));
  }
  return ok;
}

bool load_best_kept(const std::string& directory, RECORDED_GAME& best, std::string& error,
                    bool looked_at_again) {
  bool found = false;
  error.clear();
  for (const char* name : {"best-solo.replay", "best-multi.replay"}) {
    const std::string path = directory + name;
    RECORDED_GAME replay;
    std::string why;
    if (looked_at_again ? !load_replay_once(path, replay) : !load_replay(path, replay, why)) {
      error += (error.empty() ? "" : "; ") + quoted(path.c_str()) + ": " + why;
    } else if (!found || replay.score > best.score) {
      best = replay;
      found = true;
    }
  }
  return found;
}

bool load_named_replay(const char* name, RECORDED_GAME& replay) {
  // The games are kept beside the records.
  const std::string kept = directory_of(records_path());
  std::string error;
  if (std::strcmp(name, "best") == 0) {
    if (load_best_kept(kept, replay, error)) return true;
    std::fprintf(stderr, "brinegrab: cannot watch the best game: %s\n", error.c_str());
    return false;
  }
  const std::string path = std::strcmp(name, "last") == 0 ? kept + "last.replay" : name;
  if (load_replay(path, replay, error)) return true;
  std::fprintf(stderr, "brinegrab: cannot watch %s: %s\n", quoted(path.c_str()).c_str(),
               error.c_str());
  return false;
}
