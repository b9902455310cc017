#include "look.h"

#include <cstring>

#include "platform/catalog.h"
#include "platform/face_file.h"
#include "platform/quoted.h"
#include "platform/regular_file.h"

namespace {

// The files a script's faces come from, and their sizes (SDL_ttf's points are
// pixels) in the order of FACE.
struct SCRIPT_FACES {
  const char* languages;  // separated by spaces; the first row serves every other
  const char* title;
  const char* text;
  int points[static_cast<int>(FACE::COUNT)];
};

// Blankenburg has no Cyrillic and few of Polish's letters; Old Standard has
// both with an old printer's look. text.ttf's ascent cuts the accents off its
// capitals (SDL_ttf draws nothing above it): the other languages draw with a
// copy whose ascent makes room for them. The faces in fonts/ are cut to the
// catalogs' characters at build time.
const SCRIPT_FACES SCRIPTS[] = {
    {"", "title.ttf", "text.ttf", {86, 36, 50, 24, 20}},
    {"de es fr it pt_BR", "title.ttf", "fonts/text-tall.otf", {86, 36, 50, 24, 20}},
    {"pl ru uk", "fonts/old-standard-bold.ttf", "fonts/text-tall.otf", {72, 36, 50, 24, 20}},
    {"ja",
     "fonts/noto-serif-cjk-jp-bold.otf",
     "fonts/noto-sans-cjk-jp-bold.otf",
     {64, 26, 42, 20, 17}},
    {"zh_CN",
     "fonts/noto-serif-cjk-sc-bold.otf",
     "fonts/noto-sans-cjk-sc-bold.otf",
     {64, 26, 42, 20, 17}},
};

const char* const FACE_NAMES[] = {"TITLE", "TEXT", "FIGHT", "LIST", "MARK"};
static_assert(sizeof FACE_NAMES / sizeof FACE_NAMES[0] == static_cast<size_t>(FACE::COUNT),
              "a name for every face");

const int SCRIPT_COUNT = static_cast<int>(sizeof SCRIPTS / sizeof SCRIPTS[0]);

TTF_Font* faces[static_cast<int>(FACE::COUNT)] = {};
const SCRIPT_FACES* opened = &SCRIPTS[0];
// Faces of the other scripts, opened when a text in another language is shown.
TTF_Font* others[SCRIPT_COUNT][static_cast<int>(FACE::COUNT)] = {};

bool lists(const char* languages, const std::string& language) {
  for (const char* p = languages; *p != '\0';) {
    const size_t n = std::strcspn(p, " ");
    if (n == language.size() && language.compare(0, n, p, n) == 0) return true;
    p += n;
    if (*p == ' ') ++p;
  }
  return false;
}

const SCRIPT_FACES& script_of(const std::string& language) {
  for (const SCRIPT_FACES& script : SCRIPTS) {
    if (!language.empty() && lists(script.languages, language)) return script;
  }
  return SCRIPTS[0];
}

const char* file_of(const SCRIPT_FACES& script, FACE f) {
  return f == FACE::TITLE ? script.title : script.text;
}

// The face the last look asked for could not open, and why.
LOOK_FAILURE look_problem;

// The face in file at points, or null with why in look_problem.
TTF_Font* open_face(const char* file, int points) {
  if (!make_face_file_ready(file)) {
    const FILE_KIND kind = regular_file_kind(file);
    const char* why = kind == FILE_KIND::MISSING      ? N_("missing")
                      : kind == FILE_KIND::UNREADABLE ? N_("unreadable")
                                                      : N_("not a regular file");
    look_problem = {file, why};
    return nullptr;
  }
  TTF_Font* font = TTF_OpenFont(file, points);
  // The library's reason, in English.
  if (font == nullptr) look_problem = {file, escaped(TTF_GetError())};
  return font;
}

}  // namespace

bool open_look(const std::string& language) {
  close_look();
  opened = &script_of(language);
  look_problem = LOOK_FAILURE();
  for (int f = 0; f < static_cast<int>(FACE::COUNT); ++f) {
    faces[f] = open_face(file_of(*opened, static_cast<FACE>(f)), opened->points[f]);
    if (faces[f] == nullptr) {
      close_look();
      return false;
    }
  }
  return true;
}

void close_look() {
  for (TTF_Font*& font : faces) {
    if (font != nullptr) TTF_CloseFont(font);
    font = nullptr;
  }
  for (auto& script : others) {
    for (TTF_Font*& font : script) {
      if (font != nullptr) TTF_CloseFont(font);
      font = nullptr;
    }
  }
}

TTF_Font* face_of_language(FACE f, const std::string& language) {
  const SCRIPT_FACES& script = script_of(language);
  const int i = static_cast<int>(f);
  if (faces[i] == nullptr) return nullptr;
  if (std::strcmp(file_of(script, f), file_of(*opened, f)) == 0 &&
      script.points[i] == opened->points[i]) {
    return faces[i];
  }
  TTF_Font*& font = others[&script - SCRIPTS][i];
  if (font == nullptr) font = open_face(file_of(script, f), script.points[i]);
  return font;
}

TTF_Font* face(FACE f) { return faces[static_cast<int>(f)]; }

const LOOK_FAILURE& look_failure() { return look_problem; }

int baseline_lift(TTF_Font* font, FACE f) {
  TTF_Font* english = face_of_language(f, "");
  return font != nullptr && english != nullptr ? TTF_FontAscent(font) - TTF_FontAscent(english) : 0;
}

const char* face_file(FACE f) { return file_of(*opened, f); }

bool face_named(const std::string& name, FACE* f) {
  for (int i = 0; i < static_cast<int>(FACE::COUNT); ++i) {
    if (name == FACE_NAMES[i]) {
      *f = static_cast<FACE>(i);
      return true;
    }
  }
  return false;
}

void draw_panel(SDL_Surface* dest, const SDL_Rect& area, SDL_Color colour) {
  SDL_Rect copy = area;  // SDL_FillRect may clip it
  SDL_FillRect(dest, &copy, SDL_MapRGB(dest->format, colour.r, colour.g, colour.b));
}
