// The build's glyph and fit checks of the catalogs, run as the build runs
// them on catalogs with a planted fault; and the two lines a text too wide
// for its room is drawn on.
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "look.h"
#include "text.h"

namespace {

struct RUN {
  int status;
  std::string output;
};

// catalog_check on one catalog LANG.po holding a single entry, in the game's
// directory, as the build runs it.
RUN check_entry(const std::string& language, const std::string& entry) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("catalog-check-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string po = (dir / (language + ".po")).string();
  std::ofstream(po) << "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                    << entry;
  const std::string command =
      std::string("'") + CATALOG_CHECK + "' --page '" + PAGE_FONT + "' 24 '" + po + "' 2>&1";
  RUN run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::filesystem::remove_all(dir);
  return run;
}

// The width SDL_ttf measures for text in a face file at a size.
int measured(const char* file, int points, const char* text) {
  TTF_Font* font = TTF_OpenFont(file, points);
  int w = 0;
  int h = 0;
  if (font != nullptr) TTF_SizeUTF8(font, text, &w, &h);
  if (font != nullptr) TTF_CloseFont(font);
  return w;
}

std::string entry(const std::string& fit, const std::string& msgid, const std::string& msgstr) {
  return (fit.empty() ? "" : "#. fit: " + fit + "\n") + "msgid \"" + msgid + "\"\nmsgstr \"" +
         msgstr + "\"\n";
}

}  // namespace

TEST(CatalogCheck, FailsOnACharacterTheDrawingFaceLacksAndNamesIt) {
  ASSERT_TRUE(TTF_WasInit() != 0 || TTF_Init() == 0);
  struct CASE {
    const char* language;
    std::string entry;
    bool passes;
    const char* said;  // a part of the line the failure prints
  };
  const CASE cases[] = {
      // Blankenburg has no Cyrillic; the face Russian and Ukrainian draw their
      // titles with has (their own names are always kept in it).
      {"de", entry("TITLE 620", "Settings", "Einstellungen \xd0\x96"), false,
       "de: 'Settings': U+0416 is not in the TITLE face (title.ttf)"},
      {"ru",
       entry("TITLE 620", "Settings", "\xd0\xa0\xd1\x83\xd1\x81\xd1\x81\xd0\xba\xd0\xb8\xd0\xb9"),
       true, ""},
      {"uk",
       entry("TITLE 620", "Settings",
             "\xd0\xa3\xd0\xba\xd1\x80\xd0\xb0\xd1\x97\xd0\xbd\xd1\x81\xd1\x8c\xd0\xba\xd0\xb0"),
       true, ""},
      // Japanese faces hold only what the catalogs use: never Hangul.
      {"ja", entry("TEXT 620", "Paused", "\xed\x95\x9c"), false, "ja: 'Paused': U+D55C"},
      {"ja", entry("TEXT 620", "Paused", "Paused 123"), true, ""},
      // text.ttf, the English look's, cuts the dots off an Ä; the other
      // languages' text face has room for them.
      {"xx", entry("TEXT 620", "Paused", "\xc3\x84rger"), false,
       "xx: 'Paused': U+00C4 is cut off at the top of the TEXT face (text.ttf)"},
      {"de", entry("TEXT 620", "Paused", "\xc3\x84rger \xc3\x89 \xc3\x9c"), true, ""},
      // text.ttf's own word space is 3 pixels at the list's 24: too narrow
      // to read, so every other look's text face has a wider one.
      {"xx", entry("TEXT 620", "Paused", "Pause"), false,
       "'xx': a word space in the face text.ttf is 3 pixels"},
      // A line of the settings screen keeps its ink in its row, as English's
      // letters do; an accented capital there reaches into the row above.
      // The message line below the rows has room above it.
      {"de",
       entry("LIST 284", "Music volume",
             "\xc3\x89"
             "cran"),
       false, "de: 'Music volume': '\\xc3\\x89cran' inks rows -5 to"},
      {"de", entry("LIST 284", "Music volume", "Musik (laut)"), true, ""},
      {"de",
       entry("LIST 600", "These settings could not be saved",
             "\xc3\x89"
             "cran"),
       true, ""},
      {"ru", entry("LIST 620", "Paused", "\xd0\x81 \xd0\x99"), true, ""},
      // A terminal text (no fit comment) is not drawn, so not checked.
      {"de", entry("", "cannot read %s", "\xed\x95\x9c"), true, ""},
      {"de", "#, fuzzy\n" + entry("TITLE 620", "Settings", "\xd0\x96"), true, ""},
      {"de", entry("TITLE 620", "Settings", "\xd0"), false, "is not UTF-8"},
      {"de", entry("TITEL 620", "Settings", "Einstellungen"), false, "names no face: 'TITEL'"},
      {"de", entry("TITLE wide", "Settings", "Einstellungen"), false, "is not FACE WIDTH"},
  };
  for (const CASE& c : cases) {
    const RUN run = check_entry(c.language, c.entry);
    EXPECT_EQ(run.status, c.passes ? 0 : 1) << c.entry << run.output;
    EXPECT_NE(run.output.find(c.said), std::string::npos) << c.entry << run.output;
    if (c.passes) {
      EXPECT_EQ(run.output, "");
    }
  }
}

TEST(CatalogCheck, FailsOnATextWiderThanItsRoomAndSaysByHowMuch) {
  ASSERT_TRUE(TTF_WasInit() != 0 || TTF_Init() == 0);
  const char* long_text = "Der Rekord konnte nicht gespeichert werden";
  // German draws TEXT with text.ttf's glyphs at 36 (from a copy with a taller
  // ascent and a wider word space), LIST at 24, TITLE with title.ttf
  // at 86, and measures the page with its font at 24.
  const int text = measured("fonts/text-tall.otf", 36, long_text);
  const int list = measured("fonts/text-tall.otf", 24, long_text);
  const int title = measured("title.ttf", 86, "Einstellungen");
  const int page = measured(PAGE_FONT, 24, long_text);
  // Four equal words split in the middle.
  const char* four = "Rekord Rekord Rekord Rekord";
  const int half = measured("fonts/text-tall.otf", 36, "Rekord Rekord");
  // Two words of unequal widths: on two lines, the wider is what must fit.
  const char* two = "Rekordhalterin Rekord";
  const int wider = measured("fonts/text-tall.otf", 36, "Rekordhalterin");
  ASSERT_GT(text, 0);
  const auto fit = [](const char* face, int room, const char* more = "") {
    return std::string(face) + " " + std::to_string(room) + more;
  };
  struct CASE {
    std::string entry;
    bool passes;
    std::string said;
  };
  const CASE cases[] = {
      {entry(fit("TEXT", text), "The record could not be saved.", long_text), true, ""},
      {entry(fit("TEXT", text - 1), "The record could not be saved.", long_text), false,
       "de: 'The record could not be saved.': '" + std::string(long_text) + "' is " +
           std::to_string(text) + " pixels wide in TEXT, room " + std::to_string(text - 1)},
      {entry(fit("LIST", list - 1), "x", long_text), false,
       "is " + std::to_string(list) + " pixels wide in LIST"},
      {entry(fit("TITLE", title - 1), "Settings", "Einstellungen"), false,
       "is " + std::to_string(title) + " pixels wide in TITLE"},
      {entry(fit("PAGE", page - 1), "Play", long_text), false,
       "is " + std::to_string(page) + " pixels wide in PAGE"},
      // Two lines: split at the space that leaves the wider line narrowest.
      {entry(fit("TEXT", half, " 2"), "x", four), true, ""},
      {entry(fit("TEXT", half - 1, " 2"), "x", four), false,
       "is " + std::to_string(half) + " pixels wide in TEXT on two lines, room " +
           std::to_string(half - 1)},
      {entry(fit("TEXT", wider, " 2"), "x", two), true, ""},
      {entry(fit("TEXT", wider - 1, " 2"), "x", two), false,
       "is " + std::to_string(wider) + " pixels wide in TEXT on two lines, room " +
           std::to_string(wider - 1)},
      // Each plural form is drawn in its turn.
      {"#. fit: TEXT " + std::to_string(text - 1) +
           "\nmsgid \"%d coin\"\nmsgid_plural \"%d coins\"\nmsgstr[0] \"x\"\nmsgstr[1] \"" +
           long_text + "\"\n",
       false, "'%d coin': '" + std::string(long_text) + "' is " + std::to_string(text)},
  };
  for (const CASE& c : cases) {
    const RUN run = check_entry("de", c.entry);
    EXPECT_EQ(run.status, c.passes ? 0 : 1) << c.entry << run.output;
    EXPECT_NE(run.output.find(c.said), std::string::npos) << c.entry << run.output;
  }
}

TEST(TextInRoom, ATextTooWideForItsRoomIsDrawnCentredOnTwoLines) {
  ASSERT_TRUE(TTF_WasInit() != 0 || TTF_Init() == 0);
  TTF_Font* font = TTF_OpenFont("text.ttf", 36);
  ASSERT_NE(font, nullptr);
  SDL_Surface* screen =
      SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  const SDL_Color ink = {200, 150, 0, 0};
  // The ink's columns and rows on a cleared screen.
  const auto ink_box = [&](int top, int bottom) {
    SDL_Rect box = {640, 0, 0, 0};
    int right = -1;
    for (int y = top; y < bottom; ++y) {
      const auto* row =
          reinterpret_cast<const Uint32*>(static_cast<Uint8*>(screen->pixels) + y * screen->pitch);
      for (int x = 0; x < 640; ++x) {
        if (row[x] == 0) continue;
        box.x = static_cast<Sint16>(std::min<int>(box.x, x));
        right = std::max(right, x);
      }
    }
    box.w = static_cast<Uint16>(right + 1 - box.x);
    return box;
  };
  struct CASE {
    const char* text;
    int room;
    const char* first;   // the lines expected
    const char* second;  // null: one line
  };
  const int whole = measured("text.ttf", 36, "xx xx xx xx");
  const CASE cases[] = {
      {"xx xx xx xx", whole, "xx xx xx xx", nullptr},
      {"xx xx xx xx", whole - 1, "xx xx", "xx xx"},
      {"Aaargh", 10, "Aaargh", nullptr},  // no space: one line, whatever its width
  };
  const int skip = TTF_FontLineSkip(font);
  for (const CASE& c : cases) {
    SDL_FillRect(screen, nullptr, 0);
    const int drawn = draw_text_in_room(screen, font, c.text, ink, 100, c.room);
    const char* lines[] = {c.first, c.second};
    for (int i = 0; i < 2; ++i) {
      const SDL_Rect box = ink_box(100 + i * skip, 100 + (i + 1) * skip);
      if (lines[i] == nullptr) {
        EXPECT_EQ(box.x, 640) << c.text << " draws one line only";
        continue;
      }
      // Ink sits inside the line's measured box, centred on the screen.
      const int w = measured("text.ttf", 36, lines[i]);
      EXPECT_GE(box.x, (640 - w) / 2) << c.text << " line " << i;
      EXPECT_LE(box.x + box.w, (640 - w) / 2 + w) << c.text << " line " << i;
      EXPECT_NEAR(box.x + box.w / 2, 320, 4) << c.text << " line " << i;
    }
    EXPECT_EQ(drawn, c.second == nullptr ? TTF_FontHeight(font) : 2 * skip) << c.text;
  }
  SDL_FreeSurface(screen);
  TTF_CloseFont(font);
}

// The faces of a language's look that are not cut to its catalog have all
// its letters; and every look can show each language's own name (the
// settings screen lists them all) in that language's face.
TEST(Look, EachLanguagesFacesHaveItsLettersAndItsOwnName) {
  ASSERT_TRUE(TTF_WasInit() != 0 || TTF_Init() == 0);
  const bool was_open = face(FACE::TEXT) != nullptr;
  struct CASE {
    const char* language;
    const char* name;     // UTF-8, as the settings screen shows it
    const char* letters;  // UTF-8
    bool title_whole;     // the title face is not cut to the catalog
    bool text_whole;      // nor are the others
  };
  const CASE cases[] = {
      {"", "English", "Aa Zz 0123456789", true, true},
      {"de", "Deutsch", "\xc3\x84\xc3\xa4\xc3\x96\xc3\xb6\xc3\x9c\xc3\xbc\xc3\x9f", true, true},
      {"fr",
       "Fran\xc3\xa7"
       "ais",
       "\xc5\x93\xc3\xa9\xc3\xa0", true, true},
      {"pt_BR", "Portugu\xc3\xaas do Brasil", "\xc3\xa3\xc3\xb5", true, true},
      {"pl", "Polski", "\xc4\x85\xc4\x87\xc4\x99\xc5\x82\xc5\x84\xc5\x9b\xc5\xba\xc5\xbc", false,
       true},
      {"ru", "\xd0\xa0\xd1\x83\xd1\x81\xd1\x81\xd0\xba\xd0\xb8\xd0\xb9",
       "\xd0\x81\xd1\x91\xd0\xaa\xd1\x8a", false, true},
      {"uk", "\xd0\xa3\xd0\xba\xd1\x80\xd0\xb0\xd1\x97\xd0\xbd\xd1\x81\xd1\x8c\xd0\xba\xd0\xb0",
       "\xd0\x87\xd1\x97\xd0\x84\xd1\x94\xd2\x90\xd2\x91\xd0\x86\xd1\x96", false, true},
      {"ja", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e", "", false, false},
      {"zh_CN", "\xe7\xae\x80\xe4\xbd\x93\xe4\xb8\xad\xe6\x96\x87", "", false, false},
  };
  const auto lacks = [](TTF_Font* font, const std::string& text) {
    std::string missing;
    for (size_t i = 0; i < text.size();) {
      const auto b = static_cast<unsigned char>(text[i]);
      const size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
      Uint16 c = n == 1 ? b : n == 2 ? (b & 0x1F) : (b & 0x0F);
      for (size_t k = 1; k < n; ++k) c = static_cast<Uint16>(c << 6 | (text[i + k] & 0x3F));
      if (font == nullptr || !TTF_GlyphIsProvided(font, c)) missing += std::to_string(c) + " ";
      i += n;
    }
    return missing;
  };
  for (const CASE& c : cases) {
    ASSERT_TRUE(open_look(c.language)) << c.language;
    for (int f = 0; f < static_cast<int>(FACE::COUNT); ++f) {
      if (!(f == static_cast<int>(FACE::TITLE) ? c.title_whole : c.text_whole)) continue;
      EXPECT_EQ(lacks(face(static_cast<FACE>(f)), std::string(c.name) + c.letters), "")
          << c.language << " face " << f;
    }
    for (const CASE& other : cases) {
      EXPECT_EQ(lacks(face_of_language(FACE::LIST, other.language), other.name), "")
          << other.language << " in the look of " << c.language;
    }
  }
  close_look();
  if (was_open) {
    ASSERT_TRUE(open_look());
  }
}
