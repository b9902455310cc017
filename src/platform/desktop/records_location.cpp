#include "platform/records_location.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/catalog.h"
#include "platform/quoted.h"
#include "platform/replace_file.h"
#include "platform/say.h"

namespace {

std::string data_home() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    const passwd* user = getpwuid(getuid());
    home = user != nullptr ? user->pw_dir : "/";
  }
  return std::string(home) + "/.local/share";
}

// A working directory removed while the game runs still passes the access
// test, but nothing can be made in it: it has no links left.
bool here_writable() {
  struct stat here;
  return access(".", W_OK) == 0 && stat(".", &here) == 0 && here.st_nlink > 0;
}

std::string in_data_home(const std::string& name) { return data_home() + "/brinegrab/" + name; }

}  // namespace

std::string records_path() {
  if (access(RECORDS_FILE, W_OK) == 0 || here_writable()) return RECORDS_FILE;
  return in_data_home(RECORDS_FILE);
}

std::string replay_path(const std::string& name) {
  return here_writable() ? name : in_data_home(name);
}

std::string records_path_for_saving() {
  const std::string path = records_path();
  // The first directory on the way that cannot be made is named with its
  // reason, as the save would only see a missing directory.
  std::string dir;
  const int error = make_directories_above(path, &dir);
  if (error != 0) {
    // {1} is the record file, {2} a folder above it, {3} the system's reason.
    say(fill(tr("cannot save the records in {1}: cannot make {2}: {3}"),
             {quoted(path), quoted(dir), std::strerror(error)}));
    return "";
  }
  return path;
}
