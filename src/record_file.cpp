#include "record_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

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

// Every game locks the directory that holds the record file rather than the
// file: the directory is not replaced by the rename, exists before the first
// record is written, and can be opened when neither it nor the file is
// writable. A game holds the lock for one save, a few milliseconds, so the
// wait is not bounded. Where locks are not supported the games go on without.
class DIRECTORY_LOCK {
 public:
  DIRECTORY_LOCK(const std::string& file, int operation)
      : dir(open(directory_of(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (dir.get() < 0) return;
    while (flock(dir.get(), operation) != 0 && errno == EINTR) {
    }
  }

  // Makes a rename in the directory outlive a crash.
  void sync() const {
    if (dir.get() >= 0) fsync(dir.get());
  }

 private:
  FD dir;  // closing it releases the lock
};

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

int read_all(int fd, std::string& text) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
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
  return std::strerror(error);
}

int read(const std::string& path, std::string& text) {
  text.clear();
  int error = 0;
  const FD file(open_regular(path, O_RDONLY, error));
  if (file.get() < 0) return error;
  // Only a rewrite in place could be seen half done; the lock hides it.
  const DIRECTORY_LOCK lock(follow_links(path), LOCK_SH);
  return read_all(file.get(), text);
}

int change(const std::string& path,
           const std::function<std::string(const std::string&)>& change_text) {
  const std::string target = follow_links(path);
  // Checked again once locked; a device's directory is not ours to lock.
  struct stat old;
  if (stat(target.c_str(), &old) == 0 && !S_ISREG(old.st_mode)) return NOT_REGULAR;
  const DIRECTORY_LOCK lock(target, LOCK_EX);
  int error = 0;
  const FD file(open_regular(target, O_RDONLY, error));
  bool exists = file.get() >= 0 && fstat(file.get(), &old) == 0;
  std::string text;
  if (exists) {
    error = read_all(file.get(), text);
    if (error != 0) return error;  // a read that fails part way must not cost the records
  } else if (error == EACCES) {
    exists = stat(target.c_str(), &old) == 0;  // unreadable: counts as no records
  } else if (error != 0) {
    return error;
  }
  return replace(target, change_text(text), exists ? &old : nullptr, lock);
}

}  // namespace record_file
