#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

#include <vector>

// The cannonball: launched from a random edge, it flies straight across and
// is launched again once it has left the screen, a little faster every
// second launch.
class CANNONBALL {
 public:
  CANNONBALL();
  ~CANNONBALL();
  CANNONBALL(const CANNONBALL&) = delete;
  CANNONBALL& operator=(const CANNONBALL&) = delete;

  void start_over();
  void move();
  void show(SDL_Surface* dest);
  void shift_boxes();
  std::vector<SDL_Rect>& get_c_boxes();
  void zero_vel();
  // Whether the ball hits the boxes: overlaps them now, or flew across them
  // in its last move, which a fast ball can do between two frames.
  bool hits(std::vector<SDL_Rect>& boxes);

  int get_x() const { return x; }
  int get_y() const { return y; }
  int get_xvel() const { return xVel; }
  int get_yvel() const { return yVel; }
  int get_rvel() const { return rVel; }
  int get_airway() const { return airway; }
  // A replay's game starts with the launches of the games before it.
  void restore_launches(int launches) { rVel = launches; }

 private:
  int x, y;
  int xVel, yVel;
  int rVel;    // launches since the ball was made; never reset
  int airway;  // 0 from the left, 1 from the right, 2 from the top, 3 from the bottom
  SDL_Surface* sprite_sheet;
  std::vector<SDL_Rect> c_boxes;
  Mix_Chunk* effect;
  // The last move: the boxes where it began and the step, kept when the
  // ball was relaunched at its end.
  std::vector<SDL_Rect> flight_boxes;
  int flight_dx, flight_dy;
};
