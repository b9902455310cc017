#include "collision.h"

#include <algorithm>

namespace {

// A box's edges in int, so that sums never wrap and a long flight fits.
struct EDGES {
  int top, bottom, left, right;
};

EDGES edges(const SDL_Rect& r) { return {r.y, r.y + r.h, r.x, r.x + r.w}; }

// Strict overlap: boxes that only touch along an edge do not overlap.
bool overlaps(const EDGES& a, const EDGES& b) {
  return a.top < b.bottom && a.bottom > b.top && a.left < b.right && a.right > b.left;
}

bool overlaps(const SDL_Rect& a, const SDL_Rect& b) { return overlaps(edges(a), edges(b)); }

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

bool check_flight(std::vector<SDL_Rect>& A, std::vector<SDL_Rect>& B_before, int dx, int dy) {
  for (const SDL_Rect& a : A) {
    const EDGES target = edges(a);
    for (const SDL_Rect& b : B_before) {
      const EDGES start = edges(b);
      // A box that already lay there was tested where it stood.
      if (overlaps(start, target)) continue;
      const EDGES path = {
          std::min(start.top, start.top + dy), std::max(start.bottom, start.bottom + dy),
          std::min(start.left, start.left + dx), std::max(start.right, start.right + dx)};
      if (overlaps(path, target)) return true;
    }
  }
  return false;
}
