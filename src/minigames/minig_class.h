#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

// The mini-game portal: a map piece that turns up on the playfield in
// two-player games. Touching it runs the mini-game drawn when it was placed.
class minis {
 public:
  // The mini-game a piece leads to.
  static const int TRAP_RUN = 0, TREASURE_BOXES = 1, CANNONBALL_ROWS = 2;

  minis();
  ~minis();
  minis(const minis&) = delete;
  minis& operator=(const minis&) = delete;

  void place();
  void show(SDL_Surface*& screen);
  void collect(int& score, SDL_Surface*& screen);
  bool is_on();
  SDL_Rect get_hitbox();

  int get_game() const { return game; }
  int get_frame() const { return frame; }
  int get_x() const { return x; }
  int get_y() const { return y; }
  // A piece on the playfield keeps its place from game to game; a replay puts it back.
  void restore(int new_x, int new_y, int new_frame, int new_game, bool on) {
    x = new_x;
    y = new_y;
    frame = new_frame;
    game = new_game;
    there_is = on;
    hitbox = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), 40, 40};
  }

 private:
  SDL_Surface* sheet;
  int x, y;
  int frame;
  int game;
  bool there_is;
  SDL_Rect hitbox;
  SDL_Rect offsets[4];
  Mix_Chunk* effect;
};
