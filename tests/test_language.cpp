// The player's language: which one the system asks for, the catalogs the
// game accepts, the settings screen's choice and the translated text drawn.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "game_fixture.h"
#include "keycaps.h"
#include "languages.h"
#include "look.h"
#include "platform/catalog.h"
#include "platform/key_names.h"
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
// pairs, no hash table; then the strings, each with its NUL. The format
// lets the tables stand anywhere: tables_last puts them after the strings,
// the translations' table ending where the file ends.
std::string mo_file(const ENTRIES& entries, bool big = false, bool tables_last = false) {
  const uint32_t n = static_cast<uint32_t>(entries.size());
  std::string head, tables, strings;
  uint32_t string_bytes = 0;
  for (const auto& [msgid, msgstr] : entries) {
    string_bytes += static_cast<uint32_t>(msgid.size() + msgstr.size() + 2);
  }
  const uint32_t first_string = tables_last ? 28 : 28 + 16 * n;
  const uint32_t first_table = tables_last ? 28 + string_bytes : 28;
  std::string originals, translations;
  for (const auto& [msgid, msgstr] : entries) {
    put_word(originals, static_cast<uint32_t>(msgid.size()), big);
    put_word(originals, first_string + static_cast<uint32_t>(strings.size()), big);
    strings += msgid + '\0';
    put_word(translations, static_cast<uint32_t>(msgstr.size()), big);
    put_word(translations, first_string + static_cast<uint32_t>(strings.size()), big);
    strings += msgstr + '\0';
  }
  for (uint32_t w :
       {0x950412deu, 0u, n, first_table, first_table + 8 * n, 0u, first_table + 16 * n}) {
    put_word(head, w, big);
  }
  return tables_last ? head + strings + originals + translations
                     : head + originals + translations + strings;
}

ENTRIES german() {
  // A text in two contexts is two entries, each keyed by its context.
  return {{"", UTF8_HEADER},
          {"Paused", "Pause"},
          {"P1: {1}      P2: {2}", "S2: {2} – S1: {1}"},
          {"key\004Up", "Pfeil hoch"},
          {"move\004Up", "Hoch"}};
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
      {{"de", no, no, "C.UTF-8"}, "", ""},
      {{no, no, no, "zh_SG.UTF-8"}, "", "zh_CN"},
      {{no, no, no, "zh_HK.UTF-8"}, "", ""},
      {{no, no, no, "de_DE@euro"}, "", "de"},
      {{no, no, no, "de@euro"}, "", "de"},
      {{no, no, no, "pt_BR.UTF-8@saudade"}, "", "pt_BR"},
      {{"zh_SG:de", no, no, "fr_FR.UTF-8"}, "", "zh_CN"},
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
  const size_t translations = 28 + 8 * german().size();
  for (size_t i = 0; i < 4; ++i)
    long_string[translations + 8 + i] = '\xff';  // a translation's length
  huge_count[11] = '\x10';
  bad_magic[0] = 'X';
  // Three entries whose msgid and translation all claim the first one's
  // bytes up to the file's end: clean text before each NUL, but together they
  // span more than the file holds.
  std::string spanning =
      mo_file({{"", UTF8_HEADER}, {"Paused", "Pause"}, {"Paused", "Pause"}, {"Paused", "Pause"}});
  for (const size_t table : {28u, 28u + 8 * 4}) {
    uint32_t offset = 0;
    for (int i = 3; i >= 0; --i) {
      offset = offset << 8 | static_cast<unsigned char>(spanning[table + 12 + i]);
    }
    std::string claim;
    put_word(claim, static_cast<uint32_t>(spanning.size()) - offset - 1, false);
    put_word(claim, offset, false);
    for (size_t entry = 1; entry <= 3; ++entry) spanning.replace(table + 8 * entry, 8, claim);
  }
  const struct {
    const char* what;
    std::string bytes;
    bool taken;
    const char* pair = "S2: B – S1: A";  // the two players' line, filled in
  } cases[] = {
      {"as msgfmt lays it out", good, true},
      {"big-endian", mo_file(german(), true), true},
      {"its tables after the strings, one ending at the file's end", mo_file(german(), false, true),
       true},
      {"the same, big-endian", mo_file(german(), true, true), true},
      {"declaring ASCII",
       mo_file({{"", "Content-Type: text/plain; charset=ASCII\n"},
                {"Paused", "Pause"},
                {"P1: {1}      P2: {2}", "S2: {2} - S1: {1}"},
                {"key\004Up", "Pfeil hoch"},
                {"move\004Up", "Hoch"}}),
       true, "S2: B - S1: A"},
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
      {"a text of lines laid out anew", mo_file([] {
         ENTRIES help = german();
         help.push_back({"Keys:\n  Enter  go on", "Tasten:\n  Enter\n      weiter"});
         return help;
       }()),
       true},
      {"broken UTF-8", mo_file({{"", UTF8_HEADER}, {"Paused", "Pa\xc3use"}}), false},
      {"a C1 control", mo_file({{"", UTF8_HEADER}, {"Paused", "Pa\xc2\x9buse"}}), false},
      {"a DEL", mo_file({{"", UTF8_HEADER}, {"Paused", "Pau\x7fse"}}), false},
      {"a right-to-left override", mo_file({{"", UTF8_HEADER}, {"Paused", "Pa\u202euse"}}), false},
      {"an Arabic letter mark", mo_file({{"", UTF8_HEADER}, {"Paused", "Pa\u061cuse"}}), false},
      {"a zero-width space", mo_file({{"", UTF8_HEADER}, {"Paused", "Pa\u200buse"}}), false},
      {"an isolate", mo_file({{"", UTF8_HEADER}, {"Paused", "\u2066Pause\u2069"}}), false},
      {"a byte order mark", mo_file({{"", UTF8_HEADER}, {"Paused", "\ufeffPause"}}), false},
      {"strings claiming each other's bytes", spanning, false},
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
      EXPECT_EQ(fill(tr("P1: {1}      P2: {2}"), {"A", "B"}), c.pair) << c.what;
      EXPECT_STREQ(tr(NC_("key", "Up")), "Pfeil hoch") << c.what;
      EXPECT_STREQ(trc("move", "Up"), "Hoch") << c.what;
      EXPECT_STREQ(tr("Up"), "Up") << c.what << ": no entry without a context";
    } else {
      EXPECT_STREQ(tr(NC_("key", "Up")), "Up") << c.what << ": the text after its context";
      EXPECT_STREQ(trc("move", "Up"), "Up") << c.what;
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

// The keys a language has words for are named in it wherever a key is named
// (the settings screen, the key lines, the page's key list); the others keep
// their keycaps' names.
TEST(LANGUAGE, KeysAreNamedInThePlayersLanguage) {
  const ENTRIES words = {{"", UTF8_HEADER},
                         {"Space", "Leertaste"},
                         {"Enter", "Eingabe"},
                         {"Escape", "Esc"},
                         {"Left Ctrl", "Strg links"},
                         {"Page Up", "Bild auf"},
                         {"Keypad {1}", "Ziffernblock {1}"}};
  const std::string path = std::filesystem::temp_directory_path() / "brinegrab-key-words.mo";
  std::ofstream(path, std::ios::binary) << mo_file(words);
  std::string why;
  ASSERT_TRUE(use_catalog("de", path, why)) << why;
  const struct {
    SDLKey key;
    const char* name;
  } cases[] = {{SDLK_SPACE, "Leertaste"},
               {SDLK_RETURN, "Eingabe"},
               {SDLK_ESCAPE, "Esc"},
               {SDLK_LCTRL, "Strg links"},
               {SDLK_PAGEUP, "Bild auf"},
               {SDLK_KP7, "Ziffernblock 7"},
               {SDLK_w, "W"},
               {SDLK_CAPSLOCK, "Caps Lock"}};
  for (const auto& c : cases) {
    EXPECT_EQ(keycap(c.key), c.name)
        << key_name(c.key) << ": a key the catalog has a word for must be named in it (is its "
        << "name missing from the key table of keycaps.cpp?)";
  }
  back_to_english();
  std::filesystem::remove(path);
  EXPECT_EQ(keycap(SDLK_SPACE), "Space");
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

// On the settings screen the Language line, below Defaults and drawn beside
// it, steps through Automatic, English and each language by Left, Right and
// Enter; the choice is put in use at once and kept in the settings file. A
// value the game lacks is refused.
TEST_F(LANGUAGE_SCREEN_TEST, TheSettingsLineChoosesAndKeepsTheLanguage) {
  setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  const int first = harness::flips() + 1;
  int at = first;
  for (int line = 0; line < LINE_LANGUAGE; ++line) harness::press_after_flip(at++, SDLK_DOWN);
  harness::press_after_flip(at++, SDLK_RIGHT);   // English
  harness::press_after_flip(at++, SDLK_RIGHT);   // Deutsch
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
      {"language = pt_BR", "pt_BR", false}, {"language = en", "en", false},
      {"language = zh_CN", "zh_CN", false}, {"language = DE", "", true},
      {"language = nl", "", true},          {"language = ", "", true},
  };
  for (const auto& c : cases) {
    std::vector<std::string> problems;
    const SETTINGS s = settings_from_text(c.line + std::string("\n"), problems);
    EXPECT_EQ(s.language, c.language) << c.line;
    EXPECT_EQ(problems.size(), c.refused ? 1u : 0u) << c.line;
  }
}

// A language chosen on the line is spoken at once, in its own faces: the
// screen's title in the language's title face, its lines in its list face.
// Back to Automatic, the system's language (English here) at once; English
// chosen stays English whatever the system asks for.
TEST_F(LANGUAGE_SCREEN_TEST, TheLineSpeaksTheChoiceAtOnceInItsFaces) {
  const struct {
    const char* what;
    std::vector<SDLKey> steps;  // on the language line
    const char* speaks;
    const char* system;  // LANGUAGE
  } cases[] = {
      {"Left from Automatic: the last, Chinese", {SDLK_LEFT}, "zh_CN", ""},
      {"Russian", std::vector<SDLKey>(8, SDLK_RIGHT), "ru", ""},
      {"Polish, then back to Automatic",
       {SDLK_LEFT, SDLK_LEFT, SDLK_LEFT, SDLK_LEFT, SDLK_LEFT, SDLK_RIGHT, SDLK_RIGHT, SDLK_RIGHT,
        SDLK_RIGHT, SDLK_RIGHT},
       "",
       ""},
      {"English on a German desktop", {SDLK_RIGHT}, "", "de"},
      {"Automatic on a German desktop", {SDLK_RIGHT, SDLK_LEFT}, "de", "de"},
  };
  TTF_Font* english = TTF_OpenFont("text.ttf", 24);
  ASSERT_NE(english, nullptr);
  const int english_ascent = TTF_FontAscent(english);
  TTF_CloseFont(english);
  harness::capture_frames(true);
  for (const auto& c : cases) {
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    setenv("LANGUAGE", c.system, 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    if (*c.system == '\0') setenv("LANG", "C", 1);
    use_settings(SETTINGS());
    open_faces();
    int at = harness::flips() + 1;
    for (int line = 0; line < LINE_LANGUAGE; ++line) harness::press_after_flip(at++, SDLK_DOWN);
    for (const SDLKey key : c.steps) harness::press_after_flip(at++, key);
    harness::press_after_flip(at++, SDLK_ESCAPE);
    settings_screen(game);
    EXPECT_EQ(language_in_use(), c.speaks) << c.what;
    SDL_Surface* frame = harness::last_frame();
    ASSERT_NE(frame, nullptr);
    const std::string title = tr("Settings");
    TTF_Font* title_face = face(FACE::TITLE);
    EXPECT_EQ(title_face, face_of_language(FACE::TITLE, c.speaks)) << c.what;
    EXPECT_EQ(ink_missing(frame,
                          [&](SDL_Surface* s) {
                            draw_text(s, title_face, title, BROWN, 0, TITLE_Y, ALIGN::CENTRE);
                          }),
              0)
        << c.what << ": the title in its own face";
    EXPECT_EQ(ink_missing(frame,
                          [&](SDL_Surface* s) {
                            // On the row's baseline: English's, text.ttf at 24.
                            draw_text(s, face(FACE::LIST), tr("Music volume"), GOLD, 24,
                                      290 + english_ascent - TTF_FontAscent(face(FACE::LIST)));
                          }),
              0)
        << c.what << ": a line in its own face";
    SDL_FreeSurface(frame);
    unsetenv("LANGUAGE");
    unsetenv("LANG");
  }
  open_faces();
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
// A language's name drawn by another language's screen (the settings'
// Language line) has the faces the language has when spoken, at their sizes.
TEST_F(LANGUAGE_SCREEN_TEST, EveryShippedLanguageIsTakenWithItsFaces) {
  const int faces = static_cast<int>(FACE::COUNT);
  std::vector<std::vector<int>> heights;  // of each face, in each language spoken
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
    heights.emplace_back();
    for (int f = 0; f < faces; ++f) {
      TTF_Font* font = face(static_cast<FACE>(f));
      heights.back().push_back(font != nullptr ? TTF_FontHeight(font) : -1);
    }
  }
  back_to_english();
  EXPECT_TRUE(open_faces());
  for (size_t i = 0; i < languages().size(); ++i) {
    for (int f = 0; f < faces; ++f) {
      TTF_Font* font = face_of_language(static_cast<FACE>(f), languages()[i].code);
      EXPECT_EQ(font != nullptr ? TTF_FontHeight(font) : -1, heights[i][static_cast<size_t>(f)])
          << languages()[i].code << " face " << f << ", drawn while English is spoken";
    }
  }
}

// A language's face that is a pipe is never opened (it would hang the game):
// English is spoken, with its own faces.
// A language's face that cannot be opened leaves English, and one line on
// stderr names the face and why, as for the game's own faces.
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
  const std::string face = "fonts/text-tall.otf";
  const struct {
    const char* what;
    std::function<void()> make;
    const char* why;  // "" for the library's reason
  } cases[] = {
      {"a pipe", [&] { ASSERT_EQ(mkfifo(face.c_str(), 0600), 0); }, " for de: not a regular file;"},
      {"missing", [] {}, " for de: missing;"},
      {"cut",
       [&] {
         std::ofstream(face) << std::ifstream(shipped / "text-tall.otf", std::ios::binary).rdbuf();
         fs::resize_file(face, 100);
       },
       ""},
      {"noise", [&] { std::ofstream(face) << std::string(1 << 16, '\x5a'); }, ""},
  };
  for (const auto& c : cases) {
    fs::remove(face);
    c.make();
    std::string why;
    ASSERT_TRUE(use_catalog("de", (fs::current_path() / "locale" / "de.mo").string(), why)) << why;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(open_faces()) << c.what;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(language_in_use(), "") << c.what;
    EXPECT_NE(font2(), nullptr) << c.what;
    EXPECT_EQ(
        said.rfind("brinegrab: cannot open the face 'fonts/text-tall.otf'" + std::string(c.why), 0),
        0u)
        << c.what << ": " << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << c.what << ": " << said;
    EXPECT_NE(said.find(" for de: "), std::string::npos) << c.what << ": " << said;
    EXPECT_NE(said.find("; playing in English\n"), std::string::npos) << c.what << ": " << said;
  }
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
