#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

// Every text is UTF-8 (English is ASCII), rendered solid, blitted at once and
// freed.
enum class ALIGN {
  LEFT,    // x is the left edge
  CENTRE,  // centred on the screen's width; x is ignored
  RIGHT,   // x is the right edge
};

// Draws text at y (its top edge). A null font or an empty text draws nothing.
void draw_text(SDL_Surface* dest, TTF_Font* font, const std::string& text, SDL_Color colour, int x,
               int y, ALIGN align = ALIGN::LEFT);

// Draws text centred both ways, moved down by dy. Returns the height of the
// rendered text (0 when nothing was drawn).
int draw_text_middle(SDL_Surface* dest, TTF_Font* font, const std::string& text, SDL_Color colour,
                     int dy = 0);

// The size the UTF-8 text would have when rendered (0 x 0 for a null font).
void text_size(TTF_Font* font, const std::string& text, int* w, int* h);
int line_width(TTF_Font* font, const std::string& text);

// A text a language makes wider than its room goes on two lines (its source
// line's "fit: FACE WIDTH 2" comment lets the catalog check know): split at
// the space that leaves the wider line narrowest. npos when the text fits its
// room on one line, or has no space.
size_t two_line_break(TTF_Font* font, const std::string& text, int room);

// Draws text centred on the screen's width with its top at y, on one line
// when it fits room, else on the two of two_line_break, one below the other.
// Returns the height drawn (0 when nothing was).
int draw_text_in_room(SDL_Surface* dest, TTF_Font* font, const std::string& text, SDL_Color colour,
                      int y, int room);
