#include "text.h"

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

void text_size(TTF_Font* font, const std::string& text, int* w, int* h) {
  *w = 0;
  *h = 0;
  if (font != nullptr) TTF_SizeUTF8(font, text.c_str(), w, h);
}
