// The player's language: which one the system asks for, the catalogs the
// game accepts, the settings screen's choice and the translated text drawn.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "game_fixture.h"
#include "languages.h"
#include "look.h"
#include "platform/catalog.h"
#include "platform/locale_env.h"
#include "screens.h"
#include "settings.h"
#include "settings_screen.h"

namespace {

using ENTRIES = std::vector<std::pair<std::string, std::string>>;

const char* const UTF8_HEADER = "Content-Type: text/plain; charset=UTF-8\n";

void put_word(std::string& out, uint32_t w, bool big) {
  for (int i = 0; i < 4; ++i) {
    const int shift = big ? 24 - 8 * i : 8 * i;
    out += static_cast<char>((w >> shift) & 0xff);
  }
}

// A GNU .mo file as the format lays it out: magic, revision, count, the
// offsets of the msgids' and the translations' tables of (length, offset)
// pairs, no hash table; then the strings, each with its NUL.
std::string mo_file(const ENTRIES& entries, bool big = false) {
  const uint32_t n = static_cast<uint32_t>(entries.size());
  std::string head, tables, strings;
  const uint32_t first_string = 28 + 16 * n;
  std::string originals, translations;
  for (const auto& [msgid, msgstr] : entries) {
    put_word(originals, static_cast<uint32_t>(msgid.size()), big);
    put_word(originals, first_string + static_cast<uint32_t>(strings.size()), big);
    strings += msgid + '\0';
    put_word(translations, static_cast<uint32_t>(msgstr.size()), big);
    put_word(translations, first_string + static_cast<uint32_t>(strings.size()), big);
    strings += msgstr + '\0';
  }
  for (uint32_t w : {0x950412deu, 0u, n, 28u, 28 + 8 * n, 0u, first_string}) put_word(head, w, big);
  return head + originals + translations + strings;
}

ENTRIES german() {
  return {{"", UTF8_HEADER}, {"Paused", "Pause"}, {"P1: {1}      P2: {2}", "S2: {2} – S1: {1}"}};
}

// The catalog in use again English, whatever a test chose.
void back_to_english() {
  std::string why;
  use_catalog("", "", why);
}

struct ENV {
  const char *language, *lc_all, *lc_messages, *lang;
};

void set_env(const ENV& env) {
  const std::pair<const char*, const char*> vars[] = {{"LANGUAGE", env.language},
                                                      {"LC_ALL", env.lc_all},
                                                      {"LC_MESSAGES", env.lc_messages},
                                                      {"LANG", env.lang}};
  for (const auto& [name, value] : vars) {
    if (value == nullptr) {
      unsetenv(name);
    } else {
      setenv(name, value, 1);
    }
  }
}

}  // namespace

// As gettext chooses: LC_ALL, LC_MESSAGES, LANG in that order name the
// locale; C or POSIX is English whatever LANGUAGE says; otherwise LANGUAGE's
// list stands in for the locale. A region falls back to its language, but
// Brazilian Portuguese and Simplified Chinese are their own.
TEST(LANGUAGE, TheSystemsLanguageIsChosenAsGettextChoosesIt) {
  const char* const no = nullptr;
  const struct {
    ENV env;
    const char* chosen;  // in the settings
    const char* expected;
  } cases[] = {
      {{no, no, no, no}, "", ""},
      {{no, no, no, "de_DE.UTF-8"}, "", "de"},
      {{no, no, no, "de_AT@euro"}, "", "de"},
      {{no, no, no, "uk_UA.UTF-8"}, "", "uk"},
      {{no, no, no, "pt_BR.UTF-8"}, "", "pt_BR"},
      {{no, no, no, "pt_PT.UTF-8"}, "", ""},
      {{no, no, no, "zh_CN.UTF-8"}, "", "zh_CN"},
      {{no, no, no, "zh_TW.UTF-8"}, "", ""},
      {{no, no, no, "nl_NL.UTF-8"}, "", ""},
      {{no, no, no, "en_GB.UTF-8"}, "", ""},
      {{no, no, "fr_FR.UTF-8", "de_DE.UTF-8"}, "", "fr"},
      {{no, "ja_JP.UTF-8", "fr_FR.UTF-8", "de_DE.UTF-8"}, "", "ja"},
      {{no, "", "", "it_IT"}, "", "it"},
      {{no, "C", no, "de_DE.UTF-8"}, "", ""},
      {{no, no, no, "C.UTF-8"}, "", ""},
      {{"de", no, no, "POSIX"}, "", ""},
      {{"de", no, no, no}, "", ""},
      {{"ru:de", no, no, "fr_FR.UTF-8"}, "", "ru"},
      {{"nl:pl_PL:de", no, no, "fr_FR.UTF-8"}, "", "pl"},
      {{"nl", no, no, "fr_FR.UTF-8"}, "", ""},
      {{"en:de", no, no, "de_DE.UTF-8"}, "", ""},
      {{"::es", no, no, "de_DE.UTF-8"}, "", "es"},
      {{no, no, no, "de_DE.UTF-8"}, "ja", "ja"},
  };
  for (const auto& c : cases) {
    set_env(c.env);
    EXPECT_EQ(language_wanted(c.chosen, wanted_locales()), c.expected)
        << (c.env.language ? c.env.language : "-") << " " << (c.env.lc_all ? c.env.lc_all : "-")
        << " " << (c.env.lc_messages ? c.env.lc_messages : "-") << " "
        << (c.env.lang ? c.env.lang : "-") << " chosen " << c.chosen;
  }
  set_env({no, no, no, no});
}

// A catalog is outside input: taken only when every count, offset and
// length lies in the file and every translation is clean UTF-8 with its
// text's placeholders; otherwise one line names the file and English stays.
TEST(LANGUAGE, ACatalogIsTakenWholeOrRefusedInOneLine) {
  const std::string good = mo_file(german());
  std::string big_offset = good, long_string = good, huge_count = good, bad_magic = good;
  big_offset[28 + 8 + 7] = '\x7f';  // a msgid's offset, far past the end
  for (int i = 0; i < 4; ++i) long_string[28 + 8 * 3 + 8 + i] = '\xff';  // a translation's length
  huge_count[11] = '\x10';
  bad_magic[0] = 'X';
  const struct {
    const char* what;
    std::string bytes;
    bool taken;
  } cases[] = {
      {"as msgfmt lays it out", good, true},
      {"big-endian", mo_file(german(), true), true},
      {"cut in its header", good.substr(0, 20), false},
      {"cut in its strings", good.substr(0, good.size() - 8), false},
      {"an offset past the end", big_offset, false},
      {"a length past the end", long_string, false},
      {"a count larger than the file", huge_count, false},
      {"not a catalog", bad_magic, false},
      {"empty", "", false},
      {"not UTF-8", mo_file({{"", "Content-Type: text/plain; charset=ISO-8859-1\n"}}), false},
      {"no charset", mo_file({{"", "Language: de\n"}}), false},
      {"another placeholder", mo_file({{"", UTF8_HEADER}, {"Score: {1}", "Punkte: {2}"}}), false},
      {"a placeholder lost", mo_file({{"", UTF8_HEADER}, {"Score: {1}", "Punkte"}}), false},
      {"an escape sequence", mo_file({{"", UTF8_HEADER}, {"Paused", "\x1b[2JPause"}}), false},
      {"a line break added", mo_file({{"", UTF8_HEADER}, {"Paused", "Pau\nse"}}), false},
      {"a text of lines laid out anew",
       mo_file([] {
         ENTRIES help = german();
         help.push_back({"Keys:\n  Enter  go on", "Tasten:\n  Enter\n      weiter"});
         return help;
       }()),
       true},
      {"broken UTF-8", mo_file({{"", UTF8_HEADER}, {"Paused", "Pa\xc3use"}}), false},
      {"a C1 control", mo_file({{"", UTF8_HEADER}, {"Paused", "Pa\xc2\x9buse"}}), false},
  };
  const std::string dir = std::filesystem::temp_directory_path() / "brinegrab-catalogs-XXXXXX";
  std::vector<char> name(dir.begin(), dir.end());
  name.push_back('\0');
  ASSERT_NE(mkdtemp(name.data()), nullptr);
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = std::string(name.data()) + "/" + std::to_string(n++) + ".mo";
    std::ofstream(path, std::ios::binary) << c.bytes;
    std::string why;
    const char* english = "Paused";
    EXPECT_EQ(use_catalog("de", path, why), c.taken) << c.what;
    EXPECT_EQ(language_in_use(), c.taken ? "de" : "") << c.what;
    EXPECT_STREQ(tr(english), c.taken ? "Pause" : "Paused") << c.what;
    if (c.taken) {
      EXPECT_EQ(fill(tr("P1: {1}      P2: {2}"), {"A", "B"}), "S2: B – S1: A") << c.what;
    } else {
      EXPECT_EQ(tr(english), english) << c.what << ": the text itself";
      EXPECT_EQ(why.find('\n'), std::string::npos) << c.what;
      EXPECT_NE(why.find("'" + path + "'"), std::string::npos) << c.what << ": " << why;
    }
    back_to_english();
  }
  std::string why;
  EXPECT_FALSE(use_catalog("de", name.data(), why)) << "a folder";
  EXPECT_FALSE(use_catalog("de", std::string(name.data()) + "/none.mo", why)) << "no file";
  EXPECT_EQ(tr("Paused"), std::string("Paused"));
  std::filesystem::remove_all(name.data());
}

namespace {

class LANGUAGE_SCREEN_TEST : public GAME_TEST {
 protected:
  void TearDown() override {
    use_settings(SETTINGS());
    back_to_english();
    unsetenv("XDG_CONFIG_HOME");
    GAME_TEST::TearDown();
  }
};

}  // namespace

// On the settings screen the Language line, beside Defaults, steps through
// Automatic and each language by Enter; the choice is put in use at once and
// kept in the settings file. A value the game lacks is refused.
TEST_F(LANGUAGE_SCREEN_TEST, TheSettingsLineChoosesAndKeepsTheLanguage) {
  setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  const int first = harness::flips() + 1;
  int at = first;
  for (int line = 0; line < LINE_DEFAULTS; ++line) harness::press_after_flip(at++, SDLK_DOWN);
  harness::press_after_flip(at++, SDLK_RIGHT);
  harness::press_after_flip(at++, SDLK_RETURN);  // Deutsch
  harness::press_after_flip(at++, SDLK_RETURN);  // Français
  harness::press_after_flip(at++, SDLK_ESCAPE);
  settings_screen(game);
  EXPECT_EQ(current_settings().language, "fr");
  EXPECT_EQ(language_in_use(), "fr");
  std::ifstream file(dir.path() + "/brinegrab/settings.conf");
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_NE(text.str().find("\nlanguage = fr\n"), std::string::npos) << text.str();

  const struct {
    const char* line;
    const char* language;
    bool refused;
  } cases[] = {
      {"language = pt_BR", "pt_BR", false},
      {"language = zh_CN", "zh_CN", false},
      {"language = DE", "", true},
      {"language = nl", "", true},
      {"language = ", "", true},
  };
  for (const auto& c : cases) {
    std::vector<std::string> problems;
    const SETTINGS s = settings_from_text(c.line + std::string("\n"), problems);
    EXPECT_EQ(s.language, c.language) << c.line;
    EXPECT_EQ(problems.size(), c.refused ? 1u : 0u) << c.line;
  }
}

// A translated screen draws its UTF-8 text where the rules put the English:
// the title screen's keys, centred on the keys' line.
TEST_F(LANGUAGE_SCREEN_TEST, ATranslatedScreenDrawsItsUtf8Text) {
  const std::string path = dir.path() + "/ru.mo";
  const std::string russian = "Далее ~ Enter";
  std::ofstream(path, std::ios::binary) << mo_file({{"", UTF8_HEADER}, {"Next ~ Enter", russian}});
  std::string why;
  ASSERT_TRUE(use_catalog("ru", path, why)) << why;
  harness::capture_frames(true);
  harness::press_after_flip(harness::flips() + 1, SDLK_ESCAPE);
  title_screens(game);
  SDL_Surface* frame = harness::last_frame();
  ASSERT_NE(frame, nullptr);
  TTF_Font* text = TTF_OpenFont("text.ttf", 36);
  ASSERT_NE(text, nullptr);
  int w = 0, h = 0;
  TTF_SizeUTF8(text, russian.c_str(), &w, &h);
  EXPECT_EQ(ink_missing(
                frame,
                [&](SDL_Surface* s) {
                  SDL_Surface* ink = TTF_RenderUTF8_Solid(text, russian.c_str(), BROWN);
                  SDL_Rect to = {static_cast<Sint16>((640 - w) / 2), KEYS_Y, 0, 0};
                  SDL_BlitSurface(ink, nullptr, s, &to);
                  SDL_FreeSurface(ink);
                },
                2),
            0);
  SDL_FreeSurface(frame);
  TTF_CloseFont(text);
}

// The system asks for a language whose catalog is damaged: English, and one
// line on stderr however often the settings change.
// Each catalog the game ships is taken whole, and its language's faces open:
// a catalog refused for one entry would leave its players in English.
TEST_F(LANGUAGE_SCREEN_TEST, EveryShippedLanguageIsTakenWithItsFaces) {
  for (const LANGUAGE& l : languages()) {
    std::string why;
    // By its full name: the catalog read here is kept under the name it was
    // read by, which another test's damaged locale/CODE.mo must not meet.
    const std::string path =
        (std::filesystem::current_path() / "locale" / (std::string(l.code) + ".mo")).string();
    EXPECT_TRUE(use_catalog(l.code, path, why)) << why;
    EXPECT_TRUE(open_faces()) << l.code;
    EXPECT_EQ(language_in_use(), l.code);
    EXPECT_NE(font(), nullptr) << l.code;
  }
  back_to_english();
  EXPECT_TRUE(open_faces());
}

// A language's face that is a pipe is never opened (it would hang the game):
// English is spoken, with its own faces.
TEST_F(LANGUAGE_SCREEN_TEST, AFaceThatIsAPipeLeavesEnglish) {
  namespace fs = std::filesystem;
  const fs::path fonts = fs::current_path() / "fonts";
  const fs::path shipped = fs::read_symlink(fonts);
  fs::remove(fonts);
  fs::create_directory(fonts);
  for (const auto& entry : fs::directory_iterator(shipped)) {
    if (entry.path().filename() != "text-tall.otf") {
      fs::create_symlink(entry.path(), fonts / entry.path().filename());
    }
  }
  ASSERT_EQ(mkfifo((fonts / "text-tall.otf").c_str(), 0600), 0);
  std::string why;
  ASSERT_TRUE(use_catalog("de", (fs::current_path() / "locale" / "de.mo").string(), why)) << why;
  EXPECT_TRUE(open_faces());
  EXPECT_EQ(language_in_use(), "");
  EXPECT_NE(font2(), nullptr);
}

TEST_F(LANGUAGE_SCREEN_TEST, ADamagedCatalogLeavesEnglishWithOneLine) {
  std::filesystem::remove(dir.path() + "/locale");
  std::filesystem::create_directory(dir.path() + "/locale");
  std::ofstream(dir.path() + "/locale/uk.mo", std::ios::binary)
      << mo_file({{"", UTF8_HEADER}, {"Paused", "Пауза"}}).substr(0, 40);
  setenv("LANG", "uk_UA.UTF-8", 1);
  testing::internal::CaptureStderr();
  SETTINGS louder;
  louder.music = 50;
  use_settings(SETTINGS());
  use_settings(louder);
  use_settings(SETTINGS());
  const std::string said = testing::internal::GetCapturedStderr();
  unsetenv("LANG");
  EXPECT_EQ(language_in_use(), "");
  EXPECT_STREQ(tr("Paused"), "Paused");
  EXPECT_EQ(said,
            "brinegrab: cannot read the translation 'locale/uk.mo': a message catalog whose tables "
            "lie outside it; playing in English\n");
}
