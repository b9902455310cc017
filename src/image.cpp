#include "image.h"

#include <SDL_image.h>

#include "paths.h"

SDL_Surface* load_image(const std::string& filename) {
  SDL_Surface* loaded = IMG_Load(native_path(filename).c_str());
  if (loaded == nullptr) return nullptr;
  SDL_Surface* optimized = SDL_DisplayFormat(loaded);
  SDL_FreeSurface(loaded);
  if (optimized == nullptr) return nullptr;
  SDL_SetColorKey(optimized, SDL_SRCCOLORKEY, SDL_MapRGB(optimized->format, 0, 0xFF, 0xFF));
  return optimized;
}

void apply_surface(int x, int y, SDL_Surface* src, SDL_Surface* dest, SDL_Rect* clip) {
  // Blitting onto a null destination crashes inside SDL; from a null source
  // it is refused harmlessly.
  if (src == nullptr || dest == nullptr) return;
  SDL_Rect offset;
  offset.x = static_cast<Sint16>(x);
  offset.y = static_cast<Sint16>(y);
  offset.w = 0;
  offset.h = 0;
  SDL_BlitSurface(src, clip, dest, &offset);
}
