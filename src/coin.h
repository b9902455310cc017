#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

#include <vector>

// The coin: always on the playfield; taking it moves it somewhere new.
class COIN {
 public:
  COIN();
  ~COIN();
  COIN(const COIN&) = delete;
  COIN& operator=(const COIN&) = delete;

  void show(SDL_Surface* dest);
  void replace();
  std::vector<SDL_Rect>& get_c_boxes();

  int get_x() const { return x; }
  int get_y() const { return y; }
  int get_frame() const { return frame; }
  void restore_frame(int new_frame) { frame = new_frame; }

 private:
  int x, y;
  int frame;
  SDL_Surface* sprite_sheet;
  SDL_Rect offSets[4];
  std::vector<SDL_Rect> c_boxes;
  Mix_Chunk* effect;
};
