#pragma once
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include "minigames/fight_rules.h"

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
  // The marker keeps its place from game to game; a replay puts it back.
  void restore(int new_x, int new_y, int new_frame, bool on) {
    x = new_x;
    y = new_y;
    frame = new_frame;
    there_is = on;
    shift_box();
  }

 private:
  int frame;
  int x, y;
  bool there_is;
  SDL_Surface* sprite_sheet;
  SDL_Rect hitbox;
  SDL_Rect offsets[4];
};

// What a sword fight loads when it begins and frees when it ends.
struct FIGHT_ASSETS {
  Mix_Chunk* effect = nullptr;     // the sword stroke
  SDL_Surface* bg1 = nullptr;      // the ship's deck, over the water
  SDL_Surface* bg2 = nullptr;      // the water, scrolling left
  SDL_Surface* pirates = nullptr;  // the enemies: a row of two frames per type
  SDL_Surface* pt1 = nullptr;      // player one's pirate
  SDL_Surface* pt2 = nullptr;      // player two's pirate
  // Rows of the screen where the water can show through the ship; below
  // them the deck hides it and it need not be drawn.
  int water_rows = 480;

  // Loads every asset of the fight; call after the video mode is set.
  void load();
  // Frees them and leaves the pointers null.
  void free();
};

namespace fight {

// Draws one frame of the fight (without flipping): the water, the ship, the
// score, the enemies and both pirates.
void draw(const FIGHT_STATE& state, const FIGHT_ASSETS& assets, SDL_Surface* screen, int score);

}  // namespace fight
