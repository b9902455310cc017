#include "platform/surface.h"

// A surface here is a canvas; its pixels are RGBA bytes, and a pixel made
// fully transparent reads back as zero.
SDL_Surface* ready_for_screen(SDL_Surface* loaded, Uint8 r, Uint8 g, Uint8 b) {
  const Uint32 rgb =
      static_cast<Uint32>(r) | static_cast<Uint32>(g) << 8 | static_cast<Uint32>(b) << 16;
  SDL_LockSurface(loaded);
  for (int y = 0; y < loaded->h; ++y) {
    Uint32* row =
        reinterpret_cast<Uint32*>(static_cast<Uint8*>(loaded->pixels) + y * loaded->pitch);
    for (int x = 0; x < loaded->w; ++x) {
      if ((row[x] & 0xFFFFFFu) == rgb) row[x] = 0;
    }
  }
  SDL_UnlockSurface(loaded);
  return loaded;
}

Uint32 see_through_pixel(const SDL_Surface*) { return 0; }
