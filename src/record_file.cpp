#include "record_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/catalog.h"
#include "platform/file_problem.h"
#include "platform/signals.h"

namespace record_file {
namespace {

class FD {
 public:
  explicit FD(int opened) : fd(opened) {}
  ~FD() {
    if (fd >= 0) close(fd);
  }
  FD(const FD&) = delete;
  FD& operator=(const FD&) = delete;
  int get() const { return fd; }

 private:
  int fd;
};

long long monotonic_ms() {
  timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// How long a lock is waited for: a save holds it for a few milliseconds, but
// a game stopped (Ctrl+Z) in the middle of its save holds it for as long as
// it stays stopped. Once a stop signal is seen, the wait ends within the
// grace the signal leaves, less what the save itself takes, so that games
// stopped together (a logout) queue for the lock and all save.
struct PATIENCE {
  int ms;               // in all
  int kept_for_use_ms;  // of the stop grace, for what is done once locked
};
constexpr PATIENCE SAVE_PATIENCE = {2000, 500};
// A reader that cannot get the lock reads without it: only a rewrite in
// place could be seen half done.
constexpr PATIENCE READ_PATIENCE = {200, STOP_GRACE_MS};
constexpr long LOCK_STEP_MS = 10;

// Every game locks the directory that holds the record file rather than the
// file: the directory is not replaced by the rename, exists before the first
// record is written, and can be opened when neither it nor the file is
// writable. Where locks are not supported the games go on without.
class DIRECTORY_LOCK {
 public:
  DIRECTORY_LOCK(const std::string& file, int operation, PATIENCE patience)
      : dir(open(directory_of(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (dir.get() < 0) return;
    const long long until = monotonic_ms() + patience.ms;
    while (flock(dir.get(), operation | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK) return;  // not supported here: go on without
      const long long now = monotonic_ms();
      const bool graceless = stop_requested() && stop_grace_left_ms() <= patience.kept_for_use_ms;
      if (now >= until || graceless) {
        busy = true;
        return;
      }
      const timespec step = {0, LOCK_STEP_MS * 1000000};
      nanosleep(&step, nullptr);
    }
  }

  // Another game held the lock for all the wait.
  bool taken_by_another() const { return busy; }

 private:
  FD dir;  // closing it releases the lock
  bool busy = false;
};

// Opens an existing regular file. Anything else (a pipe's open would wait
// for a writer; a device's may do anything) is checked before and, for the
// race, after a non-blocking open. Returns -1 with `error` 0 for a missing file.
int open_existing(const std::string& path, int flags, int& error) {
  error = 0;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    if (errno != ENOENT) error = errno;
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    error = NOT_REGULAR;
    return -1;
  }
  const int fd = open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) error = errno;
    return -1;
  }
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    error = NOT_REGULAR;
    return -1;
  }
  return fd;
}

// No records text comes near this: a larger file is no record file of ours,
// and one that never ends must not cost the memory.
constexpr size_t MOST_BYTES = 64 * 1024;

int read_all(int fd, std::string& text) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    if (text.size() + static_cast<size_t>(n) > MOST_BYTES) {
      text.clear();
      return EFBIG;
    }
    text.append(buffer, static_cast<size_t>(n));
  }
}

// Without a temporary file: the old game's way, under the lock. A blank after
// the new text ends its second value, so what is left of a longer old text
// until the truncation is never read as part of it, even after a crash.
int rewrite_in_place(const std::string& path, const std::string& text, int temp_error) {
  FD out(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat st;
  if (out.get() < 0 || fstat(out.get(), &st) != 0) return temp_error;
  if (!S_ISREG(st.st_mode)) return NOT_REGULAR;
  const bool longer = static_cast<size_t>(st.st_size) > text.size();
  if (!write_whole(out.get(), longer ? text + " " : text) ||
      ftruncate(out.get(), static_cast<off_t>(text.size())) != 0 || fsync(out.get()) != 0) {
    return errno;
  }
  return 0;
}

// The longest text a record file holds: anything longer beside it is not
// a temporary file of ours.
constexpr size_t LONGEST_TEXT = sizeof "-2147483648 -2147483648" - 1;

// Puts `text` in a new file beside `path` and renames it over `path`, which
// `exists` or not.
int replace_whole(const std::string& path, const std::string& text, bool exists) {
  PREPARED_FILE prepared;
  const int error = prepare_file(path, text, LONGEST_TEXT, prepared);
  if (error != 0) return exists && prepared.none_made ? rewrite_in_place(path, text, error) : error;
  return put_in_place(prepared);
}

}  // namespace

std::string describe(int error) {
  if (error == LOCKED) return tr("locked by another game");
  return file_error_text(error);
}

int read_text(const std::string& path, std::string& text) {
  text.clear();
  int error = 0;
  const FD file(open_existing(path, O_RDONLY, error));
  if (file.get() < 0) return error;
  // Only a rewrite in place could be seen half done; the lock hides it.
  const DIRECTORY_LOCK lock(follow_links(path), LOCK_SH, READ_PATIENCE);
  return read_all(file.get(), text);
}

CHANGED change(const std::string& path,
               const std::function<std::string(const std::string&)>& change_text,
               const std::function<void()>& while_locked) {
  const std::string target = follow_links(path);
  // Checked again once locked; a device's directory is not ours to lock.
  struct stat old;
  if (stat(target.c_str(), &old) == 0 && !S_ISREG(old.st_mode)) return {NOT_REGULAR, false};
  const DIRECTORY_LOCK lock(target, LOCK_EX, SAVE_PATIENCE);
  if (lock.taken_by_another()) return {LOCKED, false};
  int error = 0;
  const FD file(open_existing(target, O_RDONLY, error));
  const bool exists = file.get() >= 0 && fstat(file.get(), &old) == 0;
  std::string text;
  if (exists) {
    error = read_all(file.get(), text);
    // A read that fails part way must not cost the records.
    if (error != 0) return {error, true};
  } else if (error != 0) {
    // Records that cannot be read (another player's, say) are never
    // replaced by ones that forget them.
    return {error, error != NOT_REGULAR};
  }
  const int replaced = replace_whole(target, change_text(text), exists);
  if (replaced == 0 && while_locked) while_locked();
  return {replaced, false};
}

}  // namespace record_file
