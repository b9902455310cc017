#include "languages.h"

#include "platform/catalog.h"

const std::vector<LANGUAGE>& languages() {
  static const std::vector<LANGUAGE> all = {
      {"de", "Deutsch"},
      {"fr", "Français"},
      {"es", "Español"},
      {"it", "Italiano"},
      {"pt_BR", "Português (Brasil)"},
      {"pl", "Polski"},
      {"ru", "Русский"},
      {"uk", "Українська"},
      {"ja", "日本語"},
      {"zh_CN", "简体中文"},
  };
  return all;
}

std::string known_language(const std::string& locale) {
  // "ll_CC.charset@modifier": the charset and modifier say nothing of the language.
  const std::string name = locale.substr(0, locale.find_first_of(".@"));
  const std::string ll = name.substr(0, name.find('_'));
  if (ll == "zh") return name == "zh_CN" || name == "zh_SG" ? "zh_CN" : "";
  for (const LANGUAGE& l : languages()) {
    if (name == l.code) return l.code;
  }
  for (const LANGUAGE& l : languages()) {
    if (ll == l.code) return l.code;
  }
  return "";
}

const char* language_label() {
  // fit: LIST 200
  // The settings screen's line that chooses the game's language.
  return tr("Language");
}

const char* automatic_label() {
  // fit: LIST 360
  // The language the computer or the browser is set to: each language is
  // shown by its own name.
  return tr("Automatic");
}
