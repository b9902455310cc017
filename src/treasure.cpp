#include "treasure.h"

#include <cstdlib>

#include "collision.h"
#include "image.h"
#include "random.h"
#include "sound.h"
#include "strip.h"

namespace {

// Pieces are drawn 60 pixels apart from y = 30 but gathered from 40 x 40
// squares 68 pixels apart from y = 0; both share their column's x.
int piece_x(int i) { return 30 + 91 * i; }
int piece_draw_y(int j) { return 30 + 60 * j; }
int piece_gather_y(int j) { return 68 * j; }

}  // namespace

TREASURE::TREASURE()
    : x(0),
      y(0),
      frame(0),
      up(),
      c_collected(false),
      offSets(),
      sprite_sheet(nullptr),
      chest_sheet(nullptr),
      effect1(nullptr),
      effect2(nullptr),
      chest_box(1) {
  effect1 = load_sound("sfx/treasure.wav");
  effect2 = load_sound("sfx/coin.wav");
  sprite_sheet = load_image("sprites\\treasure_sheet.png");
  chest_sheet = load_image("sprites\\chest_sheet.png");
  fill_strip_clips(offSets);
}

TREASURE::~TREASURE() {
  SDL_FreeSurface(sprite_sheet);
  SDL_FreeSurface(chest_sheet);
  Mix_FreeChunk(effect1);
  Mix_FreeChunk(effect2);
}

void TREASURE::replace() {
  x = 30 + game_rand() % 570;
  y = 40 + game_rand() % 375;
  c_collected = false;
  chest_box[0] = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), 40, 70};
}

void TREASURE::collect() {
  c_collected = true;
  play_sound(effect1);
  for (auto& column : up) {
    for (bool& piece : column) piece = true;
  }
}

bool TREASURE::is_collected() { return c_collected; }

void TREASURE::gather(std::vector<SDL_Rect>& A, int& score) {
  // Pieces still up pay even while the chest is closed and they are hidden.
  std::vector<SDL_Rect> box(1);
  for (int i = 0; i < COLUMNS; ++i) {
    for (int j = 0; j < ROWS; ++j) {
      box[0] =
          SDL_Rect{static_cast<Sint16>(piece_x(i)), static_cast<Sint16>(piece_gather_y(j)), 40, 40};
      if (up[i][j] && check_collision(box, A)) {
        score += PIECE_POINTS;
        up[i][j] = false;
        play_sound(effect2);
      }
    }
  }
}

std::vector<SDL_Rect>& TREASURE::get_c_boxes() { return chest_box; }

void TREASURE::show(SDL_Surface* dest) {
  frame = next_strip_frame(frame);
  SDL_Rect* clip = &offSets[frame / 4];
  if (!c_collected) {
    apply_surface(x, y, chest_sheet, dest, clip);
    return;
  }
  for (int i = 0; i < COLUMNS; ++i) {
    for (int j = 0; j < ROWS; ++j) {
      if (up[i][j]) apply_surface(piece_x(i), piece_draw_y(j), sprite_sheet, dest, clip);
    }
  }
}
