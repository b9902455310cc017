#include "languages.h"

#include "look.h"
#include "platform/catalog.h"
#include "platform/locale_env.h"
#include "platform/page_files.h"
#include "platform/quoted.h"
#include "platform/say.h"

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

std::string language_wanted(const std::string& chosen, const std::vector<std::string>& locales) {
  if (chosen == ENGLISH) return "";
  if (!chosen.empty()) return chosen;
  for (const std::string& locale : locales) {
    // English is the game's own: asked for before any other, it wins.
    if (locale.substr(0, locale.find_first_of("_.@")) == "en") return "";
    const std::string code = known_language(locale);
    if (!code.empty()) return code;
  }
  return "";
}

void speak(const std::string& chosen) {
  const std::string code = language_wanted(chosen, wanted_locales());
  // A catalog that could not be read is said once, not at every change.
  // English has none to refuse: going back to it always goes.
  static std::string refused;
  if (code == language_in_use() || (!code.empty() && code == refused)) return;
  const std::string catalog = "locale/" + code + ".mo";
  if (!code.empty()) fetch_page_files({catalog});
  std::string why;
  refused.clear();
  if (!use_catalog(code, catalog, why)) {
    refused = code;
    say(why);
  }
}

namespace {
// The language whose faces are open.
std::string faces_for;
}  // namespace

bool open_faces() {
  bool opened = open_look(language_in_use());
  if (!opened && !language_in_use().empty()) {
    // Said in English, as the game goes on.
    const std::string language = language_in_use();
    const LOOK_FAILURE failed = look_failure();
    std::string unused;
    use_catalog("", "", unused);
    // {1} is a font file, {2} a language's code ("de"), {3} why the file cannot be opened.
    say(fill(tr("cannot open the face {1} for {2}: {3}; playing in English"),
             {quoted(failed.file), language, tr(failed.why.c_str())}));
    opened = open_look("");
  }
  faces_for = language_in_use();
  return opened;
}

void follow_language() {
  if (language_in_use() != faces_for) open_faces();
}

const char* language_label() {
  // fit: LIST 90
  // The settings screen's line that chooses the game's language.
  return tr("Language");
}

const char* automatic_label() {
  // fit: LIST 180
  // The language the computer or the browser is set to: each language is
  // shown by its own name.
  return tr("Automatic");
}
