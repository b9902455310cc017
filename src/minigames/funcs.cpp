#include "minigames/funcs.h"

#include "image.h"

SDL_Surface* load(const std::string& filename) { return load_image(filename); }

void apply(int x, int y, SDL_Surface* src, SDL_Surface* dest, SDL_Rect* clip) {
  apply_surface(x, y, src, dest, clip);
}

bool collision(SDL_Rect A, SDL_Rect B) {
  const int a_top = A.y, a_bottom = A.y + A.h, a_left = A.x, a_right = A.x + A.w;
  const int b_top = B.y, b_bottom = B.y + B.h, b_left = B.x, b_right = B.x + B.w;
  if (a_bottom < b_top) return false;
  if (a_top > b_bottom) return false;
  if (a_left >= b_right) return false;
  if (a_right <= b_left) return false;
  return true;
}
