#pragma once
#include <SDL.h>

// The sword-fight marker: crossed swords that stand on the playfield in
// two-player games. Touching them runs a sword fight on the ship.
class fighting {
 public:
  fighting();
  ~fighting();
  fighting(const fighting&) = delete;
  fighting& operator=(const fighting&) = delete;

  void shift_box();
  void show(SDL_Surface*& screen);
  void replace();
  SDL_Rect get_hitbox();
  bool is_on();
  void collect(int& score, SDL_Surface*& screen);

  int get_frame() const { return frame; }

 private:
  int frame;
  int x, y;
  bool there_is;
  SDL_Surface* sprite_sheet;
  SDL_Rect hitbox;
  SDL_Rect offsets[4];
};
