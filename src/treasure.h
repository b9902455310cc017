#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

#include <vector>

// The treasure chest. Opening it scatters 49 pieces over the playfield in a
// 7 x 7 grid; each piece a pirate walks over pays 500.
class TREASURE {
 public:
  static const int COLUMNS = 7;
  static const int ROWS = 7;
  static const int PIECE_POINTS = 500;

  TREASURE();
  ~TREASURE();
  TREASURE(const TREASURE&) = delete;
  TREASURE& operator=(const TREASURE&) = delete;

  void replace();
  void collect();
  bool is_collected();
  void gather(std::vector<SDL_Rect>& A, int& score);
  std::vector<SDL_Rect>& get_c_boxes();
  void show(SDL_Surface* dest);

  int get_x() const { return x; }
  int get_y() const { return y; }
  bool piece_up(int i, int j) const { return up[i][j]; }
  int get_frame() const { return frame; }
  bool collected() const { return c_collected; }
  // The pieces still up and the sparkle carry from game to game; a replay puts them back.
  void restore(int new_frame, int i, int j, bool piece) {
    frame = new_frame;
    up[i][j] = piece;
  }

 private:
  int x, y;
  int frame;
  bool up[COLUMNS][ROWS];
  bool c_collected;
  SDL_Rect offSets[4];
  SDL_Surface* sprite_sheet;
  SDL_Surface* chest_sheet;
  Mix_Chunk* effect1;
  Mix_Chunk* effect2;
  std::vector<SDL_Rect> chest_box;
};
