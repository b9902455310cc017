#include "platform/surface.h"

SDL_Surface* ready_for_screen(SDL_Surface* loaded, Uint8 r, Uint8 g, Uint8 b) {
  SDL_Surface* converted = SDL_DisplayFormat(loaded);
  SDL_FreeSurface(loaded);
  if (converted == nullptr) return nullptr;
  SDL_SetColorKey(converted, SDL_SRCCOLORKEY, SDL_MapRGB(converted->format, r, g, b));
  return converted;
}

Uint32 see_through_pixel(const SDL_Surface* surface) { return surface->format->colorkey; }
