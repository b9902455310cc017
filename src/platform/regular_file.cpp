#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

FILE_KIND kind_of_failure(int error) {
  return error == ENOENT || error == ENOTDIR ? FILE_KIND::MISSING : FILE_KIND::UNREADABLE;
}

// The open file, or -1 with kind (and errno) saying why not.
int open_regular(const char* path, FILE_KIND& kind, struct stat& st) {
  kind = FILE_KIND::REGULAR;
  if (stat(path, &st) != 0) {
    kind = kind_of_failure(errno);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    kind = FILE_KIND::NOT_REGULAR;
    return -1;
  }
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    kind = kind_of_failure(errno);
    return -1;
  }
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    kind = FILE_KIND::NOT_REGULAR;
    return -1;
  }
  return fd;
}

}  // namespace

FILE_KIND regular_file_kind(const char* path) {
  FILE_KIND kind;
  struct stat st;
  const int fd = open_regular(path, kind, st);
  if (fd >= 0) close(fd);
  return kind;
}

bool file_stamp(const char* path, FILE_STAMP& stamp) {
  struct stat st;
  if (stat(path, &st) != 0) return false;
  stamp.device = static_cast<unsigned long long>(st.st_dev);
  stamp.inode = static_cast<unsigned long long>(st.st_ino);
  stamp.size = static_cast<unsigned long long>(st.st_size);
  stamp.changed_ns = static_cast<unsigned long long>(st.st_mtim.tv_sec) * 1000000000ull +
                     static_cast<unsigned long long>(st.st_mtim.tv_nsec);
  return true;
}

READ_RESULT read_regular_file(const char* path, size_t most_bytes, std::string& bytes, int& error) {
  bytes.clear();
  error = 0;
  FILE_KIND kind;
  struct stat st;
  const int fd = open_regular(path, kind, st);
  if (fd < 0) {
    error = errno;
    if (kind == FILE_KIND::MISSING) return READ_RESULT::MISSING;
    return kind == FILE_KIND::NOT_REGULAR ? READ_RESULT::NOT_REGULAR : READ_RESULT::UNREADABLE;
  }
  READ_RESULT result = READ_RESULT::WHOLE;
  if (static_cast<unsigned long long>(st.st_size) > most_bytes) {
    result = READ_RESULT::TOO_LARGE;
  } else {
    // One allocation for the file as it is; one that grows while read is
    // stopped at the bound all the same.
    bytes.reserve(static_cast<size_t>(st.st_size) + 1);
    char buffer[65536];
    for (;;) {
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        error = errno;
        result = READ_RESULT::UNREADABLE;
        break;
      }
      if (n == 0) break;
      if (static_cast<size_t>(n) > most_bytes - bytes.size()) {
        result = READ_RESULT::TOO_LARGE;
        break;
      }
      bytes.append(buffer, static_cast<size_t>(n));
    }
  }
  close(fd);
  if (result != READ_RESULT::WHOLE) std::string().swap(bytes);
  return result;
}
