#include "platform/locale_env.h"

#include <algorithm>
#include <cstdlib>

namespace {

const char* set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

}  // namespace

// As gettext reads the environment: LC_ALL, else LC_MESSAGES, else LANG
// names the locale; the C locale is English whatever LANGUAGE says, and in
// any other LANGUAGE's list ("nl:de"), when set, stands in for the locale.
std::vector<std::string> wanted_locales() {
  const char* locale = set("LC_ALL");
  if (locale == nullptr) locale = set("LC_MESSAGES");
  if (locale == nullptr) locale = set("LANG");
  if (locale == nullptr) return {};
  const std::string name(locale);
  if (name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0) return {};
  const char* list = set("LANGUAGE");
  if (list == nullptr) return {name};
  std::vector<std::string> wanted;
  const std::string all(list);
  for (size_t start = 0; start <= all.size();) {
    const size_t end = std::min(all.find(':', start), all.size());
    if (end > start) wanted.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return wanted;
}
