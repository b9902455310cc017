#pragma once
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

// The cannonball rows: two rows of eight balls fall down the shore, each
// with a gap or two, and both pirates must let every row pass through a gap.
// A row that falls off the bottom is fired again with new gaps for 3500
// points and a faster fall. A ball touching either pirate ends the game.

namespace cannon_rows {

const int ROW_COUNT = 2;
const int ROW_BALLS = 8;
const int ROW_SPACING = 80;  // x of ball j is 80 j
const int ROW_BOTTOM = 480;  // a row below this starts again at the top
const int ROW_BONUS = 3500;  // per row fired again by the fall
const int ROW_SPEED_UP = 5;  // added to the speed per row fired again
const int ROWS_MAX_X = 560;  // a pirate stays within 0..560 x 0..400
const int ROWS_MAX_Y = 400;

// Everything the rules look at; the drawing reads it and never changes it.
struct ROWS_STATE {
  bool moved1 = false;  // the player has pressed one of his movement keys
  bool moved2 = false;
  SDL_Rect hitbox1{};  // pirate one's place and hit box
  SDL_Rect hitbox2{};
  int xVel1 = 0, yVel1 = 0, xVel2 = 0, yVel2 = 0;
  int speed = 1;  // a row falls speed / 10 + 1 pixels in the fall step
  int frame = 0;  // the pirates' animation counter, 0..8
  bool end = false;
  bool balls[ROW_COUNT][ROW_BALLS]{};  // live: drawn and dangerous
  SDL_Rect balls_hitb[ROW_COUNT][ROW_BALLS]{};
};

// The pictures and the cannon shot of one game.
struct ROWS_ASSETS {
  SDL_Surface* ball = nullptr;
  SDL_Surface* p1_sheet = nullptr;
  SDL_Surface* p2_sheet = nullptr;
  SDL_Surface* bg = nullptr;
  Mix_Chunk* effect = nullptr;

  // Loads, in this order, the ball, both pirate sheets, the shore, the
  // cannon shot. Needs the video mode set.
  void load();
  // The cannon shot goes first, before the last frame's pause.
  void free_sound();
  // Frees whatever is left: the sound if still there, the four pictures.
  void free();
};

// A new game: pirate one bottom right, pirate two bottom left, row 0 at the
// top and row 1 half way down, then four rand() draws for the gaps (two for
// row 0, two for row 1).
void set_up(ROWS_STATE& s);

// One event: quit or Escape ends the game, the arrows steer pirate one and
// W, A, S, D pirate two. A release counts only once that player has pressed
// one of his keys in this game, so keys held on entry cannot push a pirate.
void handle_event(ROWS_STATE& s, const SDL_Event& e);

// Moves both pirates (a step that would leave the screen is undone), then
// ends the game if a live ball touches either of them.
void move(ROWS_STATE& s);

// The fall: each row drops speed / 10 + 1. A row falling past the bottom
// starts again at the top, all live, loses two balls at rand(), earns 3500
// and speeds the fall up. Returns how many rows were fired again: the
// cannon is heard once for each.
int fall(ROWS_STATE& s, int& score);

// What the draw pass moves: each ball one pixel down, back to the top
// (without new gaps, a shot or points) once past the bottom; then the
// pirates' animation counter. Called after the pieces are drawn.
void after_draw(ROWS_STATE& s);

// The shore and the score, drawn before the fall.
void draw_shore(const ROWS_ASSETS& assets, SDL_Surface* screen, int score);
// The live balls where they are now, then pirate one and pirate two.
void draw_pieces(const ROWS_STATE& s, const ROWS_ASSETS& assets, SDL_Surface* screen);

// One whole frame after the input: move and hit test, shore and score,
// fall (with its cannon shots), balls and pirates, then the draw pass's
// move and the animation counter. Does not flip.
void frame(ROWS_STATE& s, const ROWS_ASSETS& assets, SDL_Surface* screen, int& score);

}  // namespace cannon_rows

// Runs one game on the screen until a pirate is hit, Escape is pressed or
// the window is asked to close, adding the points to score. Consumes every
// event that arrives meanwhile and leaves the main game's event record and
// quit flag alone.
void mini3(int& score, SDL_Surface*& screen);
