#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

FILE_KIND kind_of_failure(int error) {
  return error == ENOENT || error == ENOTDIR ? FILE_KIND::MISSING : FILE_KIND::UNREADABLE;
}

}  // namespace

FILE_KIND regular_file_kind(const char* path) {
  struct stat st;
  if (stat(path, &st) != 0) return kind_of_failure(errno);
  if (!S_ISREG(st.st_mode)) return FILE_KIND::NOT_REGULAR;
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return kind_of_failure(errno);
  const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  close(fd);
  return regular ? FILE_KIND::REGULAR : FILE_KIND::NOT_REGULAR;
}
