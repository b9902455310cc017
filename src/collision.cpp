#include "collision.h"

namespace {

// Strict overlap, widened to int so that x + w never wraps.
bool overlaps(const SDL_Rect& a, const SDL_Rect& b) {
  const int a_top = a.y, a_bottom = a.y + a.h, a_left = a.x, a_right = a.x + a.w;
  const int b_top = b.y, b_bottom = b.y + b.h, b_left = b.x, b_right = b.x + b.w;
  return a_top < b_bottom && a_bottom > b_top && a_left < b_right && a_right > b_left;
}

}  // namespace

bool check_collision(std::vector<SDL_Rect>& A, std::vector<SDL_Rect>& B) {
  for (const SDL_Rect& a : A) {
    for (const SDL_Rect& b : B) {
      if (overlaps(a, b)) return true;
    }
  }
  return false;
}

bool check_collision(std::vector<SDL_Rect>& A, SDL_Rect B) {
  for (const SDL_Rect& a : A) {
    if (overlaps(a, B)) return true;
  }
  return false;
}
