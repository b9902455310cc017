#include "platform/records_location.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

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

}  // namespace

std::string records_path() {
  if (access(RECORDS_FILE, W_OK) == 0 || access(".", W_OK) == 0) return RECORDS_FILE;
  return data_home() + "/brinegrab/" + RECORDS_FILE;
}

std::string records_path_for_saving() {
  const std::string path = records_path();
  // Each missing directory on the way; a failure shows when the save fails.
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0700);
  }
  return path;
}
