#include "paths.h"

#include <algorithm>

std::string native_path(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}
