#include "image.h"

#include <SDL_image.h>

#include "paths.h"
#include "platform/surface.h"

SDL_Surface* load_image(const std::string& filename) {
  SDL_Surface* loaded = IMG_Load(native_path(filename).c_str());
  if (loaded == nullptr) return nullptr;
  return ready_for_screen(loaded, 0, 0xFF, 0xFF);
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
