#include "look.h"

namespace {

struct FACE_FILE {
  const char* file;
  int points;  // SDL_ttf's points are pixels
};

const FACE_FILE FACE_FILES[] = {
    {"title.ttf", 86}, {"text.ttf", 36}, {"text.ttf", 50}, {"text.ttf", 24}, {"text.ttf", 20}};
static_assert(sizeof FACE_FILES / sizeof FACE_FILES[0] == static_cast<size_t>(FACE::COUNT),
              "a file and size for every face");

TTF_Font* faces[static_cast<int>(FACE::COUNT)] = {};

}  // namespace

bool open_look() {
  close_look();
  for (int f = 0; f < static_cast<int>(FACE::COUNT); ++f) {
    faces[f] = TTF_OpenFont(FACE_FILES[f].file, FACE_FILES[f].points);
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
}

TTF_Font* face(FACE f) { return faces[static_cast<int>(f)]; }

void draw_panel(SDL_Surface* dest, const SDL_Rect& area, SDL_Color colour) {
  SDL_Rect copy = area;  // SDL_FillRect may clip it
  SDL_FillRect(dest, &copy, SDL_MapRGB(dest->format, colour.r, colour.g, colour.b));
}
