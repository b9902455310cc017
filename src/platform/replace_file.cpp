#include "platform/replace_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

mode_t current_umask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

bool is_temporary_of(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) {
    return false;
  }
  for (size_t i = prefix.size(); i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
      return false;
    }
  }
  return true;
}

// 0 when path is missing or a regular file this player can read.
int check_replaceable(const std::string& path, struct stat& st, bool& exists) {
  exists = false;
  if (stat(path.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
  if (!S_ISREG(st.st_mode)) return NOT_REGULAR_FILE;
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno;
  const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  close(fd);
  exists = true;
  return regular ? 0 : NOT_REGULAR_FILE;
}

}  // namespace

int make_directories_above(const std::string& path, std::string* failed) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string dir = path.substr(0, slash);
    if (mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST) continue;
    const int error = errno;
    struct stat st;
    // There already, say a read-only /home.
    if (stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
    if (failed != nullptr) *failed = dir;
    return error;
  }
  return 0;
}

std::string directory_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

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

bool write_whole(int fd, const std::string& text) {
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

// No save takes a minute, so a temporary file of ours older than that was
// left by a game killed in the middle of its save. One longer than anything
// we write there is not ours.
void remove_leftovers(const std::string& path, size_t most_bytes) {
  DIR* listing = opendir(directory_of(path).c_str());
  if (listing == nullptr) return;
  const std::string prefix = path.substr(path.rfind('/') + 1) + ".";
  const time_t a_minute_ago = std::time(nullptr) - 60;
  while (const dirent* entry = readdir(listing)) {
    struct stat st;
    if (is_temporary_of(entry->d_name, prefix) &&
        fstatat(dirfd(listing), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(st.st_mode) && st.st_mtime < a_minute_ago &&
        static_cast<size_t>(st.st_size) <= most_bytes) {
      unlinkat(dirfd(listing), entry->d_name, 0);
    }
  }
  closedir(listing);
}

int prepare_file(const std::string& path, const std::string& text, size_t most_bytes,
                 PREPARED_FILE& prepared) {
  prepared = PREPARED_FILE{follow_links(path), "", false};
  struct stat old;
  bool exists = false;
  const int unfit = check_replaceable(prepared.path, old, exists);
  if (unfit != 0) return unfit;
  remove_leftovers(prepared.path, most_bytes);
  std::string temporary = prepared.path + ".XXXXXX";
  const int fd = mkostemp(&temporary[0], O_CLOEXEC);
  if (fd < 0) {
    prepared.none_made = true;
    return errno;
  }
  mode_t mode = 0666 & ~current_umask();
  if (exists) {
    // Only root can give a file away; anyone else keeps it as their own.
    const int given = fchown(fd, old.st_uid, old.st_gid);
    (void)given;
    mode = old.st_mode & 07777;
  }
  int error = 0;
  if (fchmod(fd, mode) != 0 || !write_whole(fd, text) || fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    unlink(temporary.c_str());
    return error;
  }
  prepared.temporary = temporary;
  return 0;
}

int put_in_place(PREPARED_FILE& prepared) {
  if (std::rename(prepared.temporary.c_str(), prepared.path.c_str()) != 0) {
    const int error = errno;
    discard(prepared);
    return error;
  }
  prepared.temporary.clear();
  // A directory that cannot be synced (some file systems refuse) is no
  // failure; one whose sync fails for want of room or by an I/O error may
  // lose the rename, and in the browser it is the write to its storage.
  int error = 0;
  const int dir = open(directory_of(prepared.path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    if (fsync(dir) != 0 && (errno == EIO || errno == ENOSPC || errno == EDQUOT)) error = errno;
    close(dir);
  }
  return error;
}

void discard(PREPARED_FILE& prepared) {
  if (!prepared.temporary.empty()) unlink(prepared.temporary.c_str());
  prepared.temporary.clear();
}

int replace_file(const std::string& path, const std::string& text, size_t most_bytes) {
  PREPARED_FILE prepared;
  const int error = prepare_file(path, text, most_bytes, prepared);
  return error != 0 ? error : put_in_place(prepared);
}
