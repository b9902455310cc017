#include "text.h"

#include <algorithm>

#include "constants.h"
#include "image.h"

namespace {

// SDL_ttf crashes on a null font and returns null for an empty text.
SDL_Surface* render(TTF_Font* font, const std::string& text, SDL_Color colour) {
  if (font == nullptr || text.empty()) return nullptr;
  return TTF_RenderUTF8_Solid(font, text.c_str(), colour);
}

}  // namespace

void draw_text(SDL_Surface* dest, TTF_Font* font, const std::string& text, SDL_Color colour, int x,
               int y, ALIGN align) {
  SDL_Surface* message = render(font, text, colour);
  if (message == nullptr) return;
  if (align == ALIGN::CENTRE) x = (WIDTH - message->w) / 2;
  if (align == ALIGN::RIGHT) x -= message->w;
  apply_surface(x, y, message, dest);
  SDL_FreeSurface(message);
}

int draw_text_middle(SDL_Surface* dest, TTF_Font* font, const std::string& text, SDL_Color colour,
                     int dy) {
  SDL_Surface* message = render(font, text, colour);
  if (message == nullptr) return 0;
  const int h = message->h;
  apply_surface((WIDTH - message->w) / 2, (HEIGHT - h) / 2 + dy, message, dest);
  SDL_FreeSurface(message);
  return h;
}

int line_width(TTF_Font* font, const std::string& text) {
  int w = 0;
  int h = 0;
  text_size(font, text, &w, &h);
  return w;
}

size_t two_line_break(TTF_Font* font, const std::string& text, int room) {
  if (line_width(font, text) <= room) return std::string::npos;
  size_t best = std::string::npos;
  int best_width = 0;
  for (size_t at = text.find(' '); at != std::string::npos; at = text.find(' ', at + 1)) {
    const int wider =
        std::max(line_width(font, text.substr(0, at)), line_width(font, text.substr(at + 1)));
    if (best == std::string::npos || wider < best_width) {
      best = at;
      best_width = wider;
    }
  }
  return best;
}

int draw_text_in_room(SDL_Surface* dest, TTF_Font* font, const std::string& text, SDL_Color colour,
                      int y, int room) {
  const size_t split = two_line_break(font, text, room);
  if (split == std::string::npos) {
    int w = 0;
    int h = 0;
    text_size(font, text, &w, &h);
    draw_text(dest, font, text, colour, 0, y, ALIGN::CENTRE);
    return w > 0 ? h : 0;
  }
  const int skip = TTF_FontLineSkip(font);
  draw_text(dest, font, text.substr(0, split), colour, 0, y, ALIGN::CENTRE);
  draw_text(dest, font, text.substr(split + 1), colour, 0, y + skip, ALIGN::CENTRE);
  return 2 * skip;
}

void text_size(TTF_Font* font, const std::string& text, int* w, int* h) {
  *w = 0;
  *h = 0;
  if (font != nullptr) TTF_SizeUTF8(font, text.c_str(), w, h);
}
