#include "platform/locale_env.h"

#include <emscripten.h>

#include <string>

// The browser's languages, best first, as BCP 47 tags ("de-AT", "zh-Hans-CN")
// turned into locale names ("de_AT", "zh_CN"). Simplified Chinese is named
// by its script as often as by its country.
// clang-format off
EM_JS(void, browser_languages, (char* out, int size), {
  const tags = navigator.languages && navigator.languages.length ? navigator.languages
                                                                 : [navigator.language || ""];
  const names = tags.map(tag => {
    const parts = String(tag).split("-");
    if (parts[0].toLowerCase() == "zh" && parts.length > 1 && parts[1].toLowerCase() == "hans") {
      return "zh_CN";
    }
    if (parts[0].toLowerCase() == "zh" && parts.length > 1 && parts[1].toLowerCase() == "hant") {
      return "zh_TW";
    }
    return parts.length > 1 ? parts[0].toLowerCase() + "_" + parts[1].toUpperCase()
                            : parts[0].toLowerCase();
  });
  stringToUTF8(names.join(":"), out, size);
});
// clang-format on

std::vector<std::string> wanted_locales() {
  char joined[1024] = "";
  browser_languages(joined, sizeof joined);
  std::vector<std::string> wanted;
  const std::string all(joined);
  for (size_t start = 0; start <= all.size();) {
    size_t end = all.find(':', start);
    if (end == std::string::npos) end = all.size();
    if (end > start) wanted.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return wanted;
}
