#pragma once
#include <SDL.h>

#include <vector>

// What tells player one's pirate from player two's. The keys are the
// player's as the controls table has them now.
struct PLAYER_ONE {
  static const SDLKey &up, &down, &left, &right;
  // Only its own four keys count as a fresh key press.
  static constexpr bool any_key_moves = false;
  static const char* const sheet;
};
struct PLAYER_TWO {
  static const SDLKey &up, &down, &left, &right;
  // Any key press at all counts as a fresh key press.
  static constexpr bool any_key_moves = true;
  static const char* const sheet;
};

// A player's pirate: turns key events into a speed, walks inside the
// playfield, animates by direction and can turn into a ghost.
template <class PLAYER>
class PIRATE_T {
 public:
  PIRATE_T();
  ~PIRATE_T();
  PIRATE_T(const PIRATE_T&) = delete;
  PIRATE_T& operator=(const PIRATE_T&) = delete;

  void make_position(int X, int Y);
  void handle_input(SDL_Event e);
  void move();
  void show(SDL_Surface* dest);
  void zero_vel();
  void shift_boxes();
  std::vector<SDL_Rect>& get_c_boxes();
  void go_ghost();
  void not_ghost();
  void die();
  void live();
  bool is_ghost();
  bool is_dead();
  void not_moved();

  // Read-only views for the score display, tests and tools.
  int get_x() const { return x; }
  int get_y() const { return y; }
  int get_xvel() const { return xVel; }
  int get_yvel() const { return yVel; }
  int get_frame() const { return frame; }
  int get_status() const { return status; }
  bool has_moved() const { return moved; }
  // What a replay restores that a new game does not reset.
  void restore_look(int new_frame, int new_status, bool new_moved) {
    frame = new_frame;
    status = new_status;
    moved = new_moved;
  }

 private:
  bool moved;
  int x, y;
  int xVel, yVel;
  int frame;
  int status;
  bool ghost;
  bool dead;
  SDL_Rect offSets[4][3];
  SDL_Surface* sprite_sheet;
  std::vector<SDL_Rect> c_boxes;
};

using PIRATE = PIRATE_T<PLAYER_ONE>;
using PIRATE2 = PIRATE_T<PLAYER_TWO>;
extern template class PIRATE_T<PLAYER_ONE>;
extern template class PIRATE_T<PLAYER_TWO>;
