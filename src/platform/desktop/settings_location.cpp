#include "platform/settings_location.h"

#include <cstdlib>

std::string settings_path() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/')
    return std::string(config) + "/brinegrab/settings.conf";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    return std::string(home) + "/.config/brinegrab/settings.conf";
  }
  return "";
}
