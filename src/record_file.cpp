#include "record_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <vector>

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

std::string directory_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links leads to (which may not exist yet).
std::string follow_links(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::vector<char> target(PATH_MAX);
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<size_t>(length) >= target.size()) return path;
    const std::string link(target.data(), static_cast<size_t>(length));
    path = link[0] == '/' ? link : directory_of(path) + "/" + link;
  }
  return path;  // a loop of links: opening it fails and says so
}

long long monotonic_ms() {
  timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// How long a lock is waited for: a save holds it for a few milliseconds, but
// a game stopped (Ctrl+Z) in the middle of its save holds it for as long as
// it stays stopped. Once a stop signal is seen, the wait ends soon after,
// so that the program still ends at once.
struct PATIENCE {
  int ms;             // in all
  int after_stop_ms;  // from the moment a stop signal is seen
};
constexpr PATIENCE SAVE_PATIENCE = {2000, 50};
// A reader that cannot get the lock reads without it: only a rewrite in
// place could be seen half done.
constexpr PATIENCE READ_PATIENCE = {200, 0};
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
    long long stop_until = -1;
    while (flock(dir.get(), operation | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK) return;  // not supported here: go on without
      const long long now = monotonic_ms();
      if (stop_until < 0 && stop_requested()) stop_until = now + patience.after_stop_ms;
      if (now >= until || (stop_until >= 0 && now >= stop_until)) {
        busy = true;
        return;
      }
      const timespec step = {0, LOCK_STEP_MS * 1000000};
      nanosleep(&step, nullptr);
    }
  }

  // Another game held the lock for all the wait.
  bool taken_by_another() const { return busy; }

  // The locked directory, or -1.
  int fd() const { return busy ? -1 : dir.get(); }

  // Makes a rename in the directory outlive a crash.
  void sync() const {
    if (dir.get() >= 0) fsync(dir.get());
  }

 private:
  FD dir;  // closing it releases the lock
  bool busy = false;
};

// A game killed in the middle of its save leaves its temporary file (the
// record file's name, a dot and six letters or digits, as mkostemp makes
// them). Under the lock no save is under way, so one older than a minute is
// such a leftover. A file longer than any records text is not one of ours.
void remove_leftovers(const DIRECTORY_LOCK& lock, const std::string& file) {
  if (lock.fd() < 0) return;
  const std::string prefix = file.substr(file.rfind('/') + 1) + ".";
  const size_t longest_text = sizeof "-2147483648 -2147483648" - 1;
  DIR* listing = fdopendir(dup(lock.fd()));
  if (listing == nullptr) return;
  const time_t a_minute_ago = std::time(nullptr) - 60;
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
    bool ours = true;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
      const char c = name[i];
      ours = ours && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
    }
    struct stat st;
    if (ours && fstatat(dirfd(listing), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(st.st_mode) && st.st_mtime < a_minute_ago &&
        static_cast<size_t>(st.st_size) <= longest_text) {
      unlinkat(dirfd(listing), name.c_str(), 0);
    }
  }
  closedir(listing);
}

// Opens an existing regular file. Anything else (a pipe's open would wait
// for a writer; a device's may do anything) is checked before and, for the
// race, after a non-blocking open. Returns -1 with `error` 0 for a missing file.
int open_regular(const std::string& path, int flags, int& error) {
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

bool write_all(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

mode_t current_umask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
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
  if (!write_all(out.get(), longer ? text + " " : text) ||
      ftruncate(out.get(), static_cast<off_t>(text.size())) != 0 || fsync(out.get()) != 0) {
    return errno;
  }
  return 0;
}

// Puts `text` in a new file beside `path` and renames it over `path`; `old`
// is the file replaced, whose owner and permission bits the new one keeps.
// `lock` holds the directory of `path`.
int replace(const std::string& path, const std::string& text, const struct stat* old,
            const DIRECTORY_LOCK& lock) {
  std::string temp = path + ".XXXXXX";
  FD out(mkostemp(&temp[0], O_CLOEXEC));
  if (out.get() < 0) return old != nullptr ? rewrite_in_place(path, text, errno) : errno;
  mode_t mode = 0666 & ~current_umask();
  if (old != nullptr) {
    // Only root can give a file away; anyone else keeps it as their own.
    const int given = fchown(out.get(), old->st_uid, old->st_gid);
    (void)given;
    mode = old->st_mode & 07777;
  }
  if (fchmod(out.get(), mode) != 0 || !write_all(out.get(), text) || fsync(out.get()) != 0 ||
      rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    return error;
  }
  lock.sync();
  return 0;
}

}  // namespace

std::string describe(int error) {
  if (error == NOT_REGULAR) return "not a regular file, left alone";
  if (error == LOCKED) return "locked by another game";
  return std::strerror(error);
}

int read(const std::string& path, std::string& text) {
  text.clear();
  int error = 0;
  const FD file(open_regular(path, O_RDONLY, error));
  if (file.get() < 0) return error;
  // Only a rewrite in place could be seen half done; the lock hides it.
  const DIRECTORY_LOCK lock(follow_links(path), LOCK_SH, READ_PATIENCE);
  return read_all(file.get(), text);
}

CHANGED change(const std::string& path,
               const std::function<std::string(const std::string&)>& change_text) {
  const std::string target = follow_links(path);
  // Checked again once locked; a device's directory is not ours to lock.
  struct stat old;
  if (stat(target.c_str(), &old) == 0 && !S_ISREG(old.st_mode)) return {NOT_REGULAR, false};
  const DIRECTORY_LOCK lock(target, LOCK_EX, SAVE_PATIENCE);
  if (lock.taken_by_another()) return {LOCKED, false};
  remove_leftovers(lock, target);
  int error = 0;
  const FD file(open_regular(target, O_RDONLY, error));
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
  return {replace(target, change_text(text), exists ? &old : nullptr, lock), false};
}

}  // namespace record_file
