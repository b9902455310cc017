#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

#include <vector>

// What tells the ruby from the ghost pirate.
struct RUBY_KIND {
  static const char* const sheet;
  static const char* const sound;
  static constexpr int x_span = 560;  // left edge 30 ... 589
};
struct GHOST_KIND {
  static const char* const sheet;
  static const char* const sound;
  static constexpr int x_span = 550;  // left edge 30 ... 579
};

// A pick-up that is on the playfield only some of the time: taking it makes
// it vanish with its sound, and the play loop brings it back later.
template <class KIND>
class PICKUP_T {
 public:
  PICKUP_T();
  ~PICKUP_T();
  PICKUP_T(const PICKUP_T&) = delete;
  PICKUP_T& operator=(const PICKUP_T&) = delete;

  void show(SDL_Surface* dest);
  void replace();
  void collect();
  bool is_collected();
  std::vector<SDL_Rect>& get_c_boxes();

  int get_x() const { return x; }
  int get_y() const { return y; }
  int get_frame() const { return frame; }
  // A pick-up not collected keeps its place from game to game; a replay puts it back.
  void restore(int new_x, int new_y, int new_frame, bool new_collected) {
    x = new_x;
    y = new_y;
    frame = new_frame;
    collected = new_collected;
    c_boxes[0] = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), 40, 40};
  }

 private:
  int x, y;
  int frame;
  bool collected;
  SDL_Surface* sprite_sheet;
  SDL_Rect offSets[4];
  std::vector<SDL_Rect> c_boxes;
  Mix_Chunk* effect;
};

using RUBY = PICKUP_T<RUBY_KIND>;
using GHOSTPIRATE = PICKUP_T<GHOST_KIND>;
extern template class PICKUP_T<RUBY_KIND>;
extern template class PICKUP_T<GHOST_KIND>;
