// The glyph and fit checks of the catalogs, run by the build in the game's
// directory: every translation whose source line carries a "fit: FACE WIDTH"
// comment (xgettext's "#. fit: ..." line) must have each of its characters in
// the face the language draws it with, and be no wider than WIDTH pixels when
// measured as the game measures it. "fit: FACE WIDTH 2" gives the text two
// lines of that width, split where the game splits it. PAGE texts are the
// browser page's: measured with its font at its size, or the language's text
// face where the page's font lacks a character (as the page falls back).
// Strings without a fit comment are the terminal's: not drawn, not checked.
// A LIST text narrower than the list's whole 600 pixels stands in a row of
// the settings screen, as each language's own name does: drawn on the row's
// baseline, its ink must stay inside the row as far as English's own letters
// do (its brackets reach a pixel or two above).
// Each face of a language's look must also draw a word space a reader sees:
// "n n" at least MOST_NARROW_SPACE pixels wider, in ink, than "nn".
//
// Usage: catalog_check [--sheets DIR] [--page FONT_FILE PIXELS] LANG.po...
// Prints one line per problem on stderr and exits 1 when there is any.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "languages.h"
#include "look.h"
#include "platform/file_problem.h"
#include "platform/quoted.h"
#include "platform/regular_file.h"
#include "text.h"

namespace {

const size_t MOST_CATALOG_BYTES = 4 << 20;
const int MOST_NARROW_SPACE = 4;  // pixels

struct ENTRY {
  std::string fit;  // what follows "fit:" in the extracted comments
  std::string msgid;
  std::vector<std::string> translations;
  bool fuzzy = false;
};

// A PO string's C escapes (\n, \t, \", \\, octal).
std::string unescape(const std::string& quoted_text) {
  std::string out;
  for (size_t i = 1; i + 1 < quoted_text.size(); ++i) {
    char c = quoted_text[i];
    if (c == '\\' && i + 2 < quoted_text.size()) {
      c = quoted_text[++i];
      if (c == 'n') c = '\n';
      if (c == 't') c = '\t';
      if (c >= '0' && c <= '7') {
        int value = c - '0';
        while (i + 2 < quoted_text.size() && quoted_text[i + 1] >= '0' &&
               quoted_text[i + 1] <= '7') {
          value = value * 8 + (quoted_text[++i] - '0');
        }
        c = static_cast<char>(value);
      }
    }
    out += c;
  }
  return out;
}

std::string trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::vector<ENTRY> read_entries(const std::string& text) {
  std::vector<ENTRY> entries(1);
  std::string* target = nullptr;  // the string continuation lines add to
  bool in_strings = false;        // past the entry's msgid: a comment starts the next
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') {
      if (in_strings) {
        entries.emplace_back();
        in_strings = false;
      }
      target = nullptr;
      if (line.rfind("#.", 0) == 0) {
        const std::string comment = trimmed(line.substr(2));
        if (comment.rfind("fit:", 0) == 0) entries.back().fit = trimmed(comment.substr(4));
      }
      if (line.rfind("#,", 0) == 0 && line.find("fuzzy") != std::string::npos) {
        entries.back().fuzzy = true;
      }
      continue;
    }
    const size_t quote = line.find('"');
    if (quote == std::string::npos) continue;
    const std::string keyword = trimmed(line.substr(0, quote));
    const std::string value = unescape(line.substr(quote));
    if (keyword.empty()) {
      if (target != nullptr) *target += value;
    } else if (keyword == "msgid" || keyword == "msgctxt") {
      if (in_strings && !entries.back().translations.empty()) entries.emplace_back();
      in_strings = true;
      target = keyword == "msgid" ? &entries.back().msgid : nullptr;
      if (target != nullptr) *target = value;
    } else if (keyword.rfind("msgstr", 0) == 0) {
      entries.back().translations.push_back(value);
      target = &entries.back().translations.back();
    } else {
      target = nullptr;  // msgid_plural
    }
  }
  return entries;
}

// The code points of UTF-8 text; false for a malformed sequence.
bool code_points(const std::string& s, std::vector<Uint32>& out) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int extra = b < 0x80         ? 0
                      : (b >> 5) == 6  ? 1
                      : (b >> 4) == 14 ? 2
                      : (b >> 3) == 30 ? 3
                                       : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= s.size()) return false;
    Uint32 c = extra == 0 ? b : b & (0x3Fu >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
      if ((next >> 6) != 2) return false;
      c = (c << 6) | (next & 0x3Fu);
    }
    out.push_back(c);
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

bool has_glyph(TTF_Font* font, Uint32 c) {
  return c <= 0xFFFF && TTF_GlyphIsProvided(font, static_cast<Uint16>(c)) != 0;
}

// The columns without ink between the first and the last inked one of text
// as the game draws it (the solid renderer, hinted), -1 when it cannot be
// drawn.
int blank_columns(TTF_Font* font, const char* text) {
  SDL_Surface* ink = TTF_RenderUTF8_Solid(font, text, SDL_Color{255, 255, 255, 0});
  if (ink == nullptr) return -1;
  int first = -1, last = -1, blank = 0;
  SDL_LockSurface(ink);
  for (int x = 0; x < ink->w; ++x) {
    bool inked = false;
    for (int y = 0; y < ink->h && !inked; ++y) {
      inked = static_cast<const Uint8*>(ink->pixels)[y * ink->pitch + x] != 0;
    }
    if (!inked) continue;
    if (first >= 0) blank += x - last - 1;
    if (first < 0) first = x;
    last = x;
  }
  SDL_UnlockSurface(ink);
  SDL_FreeSurface(ink);
  return blank;
}

// How many pixels a word space adds between two letters.
int space_width(TTF_Font* font) { return blank_columns(font, "n n") - blank_columns(font, "nn"); }

// SDL_ttf draws nothing of a glyph above the face's ascent: an accent there is
// lost.
bool cut_off_at_the_top(TTF_Font* font, Uint32 c) {
  int min_x = 0, max_x = 0, min_y = 0, max_y = 0, advance = 0;
  return TTF_GlyphMetrics(font, static_cast<Uint16>(c), &min_x, &max_x, &min_y, &max_y, &advance) ==
             0 &&
         max_y > TTF_FontAscent(font);
}

// A picture per language of every checked text in its face, centred in a
// 640-pixel screen between two red lines that mark its room (--sheets DIR),
// for a translator or a developer to look at.
struct SHEET {
  SDL_Surface* picture = nullptr;
  int y = 0;

  void start() {
    picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 8000, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    if (picture != nullptr) SDL_FillRect(picture, nullptr, 0xE6D2A0);
    y = 4;
  }

  void add(const std::string& msgid, TTF_Font* font, const std::string& text, int room, int lines,
           bool fits) {
    if (picture == nullptr || y > picture->h - 200) return;
    draw_text(picture, face(FACE::MARK), msgid, BROWN, 4, y);
    y += TTF_FontLineSkip(face(FACE::MARK));
    const int height = lines == 2 ? 2 * TTF_FontLineSkip(font) : TTF_FontHeight(font);
    for (const int x : {(640 - room) / 2 - 1, (640 + room) / 2}) {
      SDL_Rect guide = {static_cast<Sint16>(x), static_cast<Sint16>(y), 1,
                        static_cast<Uint16>(height)};
      SDL_FillRect(picture, &guide, 0xC00000);
    }
    const SDL_Color colour = fits ? BROWN : SDL_Color{200, 0, 0, 0};
    y += draw_text_in_room(picture, font, text, colour, y, lines == 2 ? room : 1 << 20) + 8;
  }

  void save(const std::string& path) {
    if (picture == nullptr) return;
    SDL_Surface* used = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, y, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    if (used != nullptr) {
      SDL_BlitSurface(picture, nullptr, used, nullptr);
      SDL_SaveBMP(used, path.c_str());
    }
    SDL_FreeSurface(used);
    SDL_FreeSurface(picture);
    picture = nullptr;
  }
};

struct CHECK {
  std::string page_file;
  int page_pixels = 0;
  int problems = 0;
  std::string sheets;  // where the pictures go; none when empty
  SHEET sheet;

  void problem(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", where.c_str(), what.c_str());
    ++problems;
  }

  void check_catalog(const std::string& path) {
    std::string bytes;
    int error = 0;
    const READ_RESULT read = read_regular_file(path.c_str(), MOST_CATALOG_BYTES, bytes, error);
    if (read != READ_RESULT::WHOLE) {
      problem(quoted(path), read_problem(read, error));
      return;
    }
    const size_t slash = path.find_last_of('/');
    std::string language = path.substr(slash == std::string::npos ? 0 : slash + 1);
    language = language.substr(0, language.rfind(".po"));
    if (!open_look(language)) {
      problem(quoted(language), std::string("cannot open its faces: ") + escaped(TTF_GetError()));
      return;
    }
    TTF_Font* page = nullptr;
    TTF_Font* page_fallback = nullptr;
    if (!page_file.empty()) {
      page = TTF_OpenFont(page_file.c_str(), page_pixels);
      page_fallback = TTF_OpenFont(face_file(FACE::TEXT), page_pixels);
      if (page == nullptr || page_fallback == nullptr) {
        problem(quoted(page_file), "cannot open the page's fonts");
      }
    }
    for (int f = 0; f < static_cast<int>(FACE::COUNT); ++f) {
      TTF_Font* font = face(static_cast<FACE>(f));
      const int space = has_glyph(font, 'n') ? space_width(font) : MOST_NARROW_SPACE;
      if (space < MOST_NARROW_SPACE) {
        problem(quoted(language), std::string("a word space in the face ") +
                                      face_file(static_cast<FACE>(f)) + " is " +
                                      std::to_string(space) + " pixels, too narrow to read");
      }
    }
    for (const LANGUAGE& l : languages()) {
      if (language == l.code) check_row(quoted(language), face(FACE::LIST), l.name);
    }
    if (!sheets.empty()) sheet.start();
    for (const ENTRY& entry : read_entries(bytes)) {
      if (entry.fit.empty() || entry.fuzzy) continue;
      for (const std::string& text : entry.translations) {
        if (!text.empty()) check_text(language, entry, text, page, page_fallback);
      }
    }
    if (!sheets.empty()) sheet.save(sheets + "/" + language + ".bmp");
    if (page != nullptr) TTF_CloseFont(page);
    if (page_fallback != nullptr) TTF_CloseFont(page_fallback);
    close_look();
  }

  // The rows text in font inks, from the row's top, drawn on its baseline:
  // false when text is not UTF-8.
  static bool inked_rows(TTF_Font* font, int baseline, const std::string& text, int& top,
                         int& bottom) {
    std::vector<Uint32> characters;
    if (!code_points(text, characters)) return false;
    top = bottom = baseline;
    for (const Uint32 c : characters) {
      int min_x = 0, max_x = 0, min_y = 0, max_y = 0, advance = 0;
      if (c > 0xFFFF || TTF_GlyphMetrics(font, static_cast<Uint16>(c), &min_x, &max_x, &min_y,
                                         &max_y, &advance) != 0) {
        continue;
      }
      top = std::min(top, baseline - max_y);
      bottom = std::max(bottom, baseline - min_y);
    }
    return true;
  }

  // The ink of text in font, on the row's baseline, within the row.
  void check_row(const std::string& where, TTF_Font* font, const std::string& text) {
    TTF_Font* english = face_of_language(FACE::LIST, "");
    if (font == nullptr || english == nullptr) return;
    const int baseline = TTF_FontAscent(english);
    std::string ascii;
    for (char c = '!'; c <= '~'; ++c) ascii += c;
    int top = 0, bottom = 0, english_top = 0, english_bottom = 0;
    inked_rows(english, baseline, ascii, english_top, english_bottom);
    english_top = std::min(english_top, 0);
    english_bottom = std::max(english_bottom, LIST_ROW_HEIGHT);
    if (inked_rows(font, baseline, text, top, bottom) &&
        (top < english_top || bottom > english_bottom)) {
      problem(where, quoted(text) + " inks rows " + std::to_string(top) + " to " +
                         std::to_string(bottom) + " of its list row, English's " +
                         std::to_string(english_top) + " to " + std::to_string(english_bottom));
    }
  }

  void check_text(const std::string& language, const ENTRY& entry, const std::string& text,
                  TTF_Font* page, TTF_Font* page_fallback) {
    const std::string where = language + ": " + quoted(entry.msgid);
    std::istringstream fields(entry.fit);
    std::string face_name;
    int room = 0;
    int lines = 1;
    fields >> face_name >> room;
    if (fields.fail() || room <= 0 || (!(fields >> lines).fail() && (lines < 1 || lines > 2))) {
      problem(where, "the fit comment " + quoted(entry.fit) + " is not FACE WIDTH [LINES]");
      return;
    }
    std::vector<Uint32> characters;
    if (!code_points(text, characters)) {
      problem(where, "the translation is not UTF-8");
      return;
    }
    TTF_Font* font = nullptr;
    FACE f = FACE::TEXT;
    if (face_name == "PAGE") {
      if (page == nullptr) return;  // the page's font was not given
      font = page;
      for (const Uint32 c : characters) {
        if (!has_glyph(page, c)) font = page_fallback;
      }
    } else if (face_named(face_name, &f)) {
      font = face(f);
      std::set<Uint32> said;
      for (const Uint32 c : characters) {
        const bool lacking = !has_glyph(font, c);
        if ((lacking || cut_off_at_the_top(font, c)) && said.insert(c).second) {
          char code[16];
          std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
          problem(where, std::string(code) +
                             (lacking ? " is not in the " : " is cut off at the top of the ") +
                             face_name + " face (" + face_file(f) + ")");
        }
      }
    } else {
      problem(where, "the fit comment names no face: " + quoted(face_name));
      return;
    }
    if (face_name == "LIST" && room < 600) check_row(where, font, text);
    const int width = widest_line(font, text, room, lines);
    sheet.add(entry.msgid, font, text, room, lines, width <= room);
    if (width > room) {
      problem(where, quoted(text) + " is " + std::to_string(width) + " pixels wide in " +
                         face_name + (lines > 1 ? " on two lines" : "") + ", room " +
                         std::to_string(room));
    }
  }

  // The width of the wider of the lines the text is drawn on.
  static int widest_line(TTF_Font* font, const std::string& text, int room, int lines) {
    size_t split = std::string::npos;
    if (lines == 2) split = two_line_break(font, text, room);
    if (split == std::string::npos) return line_width(font, text);
    return std::max(line_width(font, text.substr(0, split)),
                    line_width(font, text.substr(split + 1)));
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  if (TTF_Init() != 0) {
    std::fprintf(stderr, "catalog_check: %s\n", escaped(TTF_GetError()).c_str());
    return 2;
  }
  CHECK check;
  int i = 1;
  if (argc > i + 1 && std::string(argv[i]) == "--sheets") {
    check.sheets = argv[i + 1];
    i += 2;
  }
  if (argc > i + 2 && std::string(argv[i]) == "--page") {
    check.page_file = argv[i + 1];
    check.page_pixels = std::atoi(argv[i + 2]);
    i += 3;
  }
  for (; i < argc; ++i) check.check_catalog(argv[i]);
  TTF_Quit();
  return check.problems == 0 ? 0 : 1;
}
