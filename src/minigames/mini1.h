#pragma once
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

// The trap run: both pirates stand near the left edge while a row of eight
// tiles scrolls under them; they jump onto higher tiles, drop onto lower ones
// and must not land on the trap or fall out of the window. Every tile that
// comes back in at the right is worth 250.

namespace trap_run {

// What a tile slot holds. A slot that comes back in is always ground or trap;
// an empty slot is neither drawn nor stood on.
const int GROUND = 0;
const int TRAP = 1;
const int EMPTY = 2;

const int RUN_TILES = 8;
const int RUN_TILE_SIZE = 80;
const int RUN_TILE_POINTS = 250;

// Everything the rules of one run look at. Only the y of the two hit boxes
// ever changes; they are also where the pirates are drawn.
struct TRAP_RUN_STATE {
  int frame;             // running animation of both pirates, 0 to 2
  int jump_h1, jump_h2;  // frames since a jump began; 0 while standing
  bool end;
  bool coll1, coll2;  // standing on a tile in this frame
  bool jump1, jump2;  // not rising or hanging: may jump, and falls
  SDL_Rect hitbox1, hitbox2;
  int bgx;  // scroll of the background, 0 down to -638
  int map[RUN_TILES];
  SDL_Rect map_collision[RUN_TILES];
};

// Both pirates on flat ground at y 320, standing still.
void set_up(TRAP_RUN_STATE& run);

enum class RUN_SOUND { NONE, JUMP };

// One event of the run's own queue: Escape and a window-close request end the
// run, Up and W start a jump for a pirate standing or falling free. Returns
// the sound the caller should play.
RUN_SOUND handle_event(TRAP_RUN_STATE& run, const SDL_Event& e);

// The first rules of a frame, after the frame is drawn and before the keys
// are read: clears the standing flags, scrolls the background and the tiles
// (a tile that leaves at the left comes back in at the right at a new random
// height, one rand() for the height and one for the kind, and adds 250) and
// advances the animation.
void scroll(TRAP_RUN_STATE& run, int& score);

// The rest of the frame, after the flip and the wait: rising, hanging,
// landing, gravity and falling out of the window.
void step(TRAP_RUN_STATE& run);

// The run's images and sound, loaded and freed in the run's own order.
struct TRAP_RUN_ASSETS {
  Mix_Chunk* effect = nullptr;
  SDL_Surface* pirate1_sheet = nullptr;
  SDL_Surface* pirate2_sheet = nullptr;
  SDL_Surface* bg = nullptr;
  SDL_Surface* ground = nullptr;
  SDL_Surface* trap = nullptr;

  void load();  // needs the video mode set
  void free();
};

// Draws one frame of the run (background, score, pirates, then the tiles over
// them) without changing the run.
void draw(const TRAP_RUN_STATE& run, const TRAP_RUN_ASSETS& assets, SDL_Surface* screen, int score);

}  // namespace trap_run

// Runs the trap run on screen until it ends and adds what it earned to score.
void mini1(int& score, SDL_Surface*& screen);
