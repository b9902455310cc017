#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

// The treasure boxes: four closed boxes in a cave, one of them (drawn at
// random) holding the treasure. Each player opens one box with one key;
// the treasure box is worth 10000 and ends the game at once.

namespace treasure_boxes {

const int BOX_COUNT = 4;
const int BOX_TREASURE_POINTS = 10000;

struct BOXES_STATE {
  bool treasures[BOX_COUNT];  // box k has been opened
  bool choose1, choose2;      // player one or two still has a box to open
  int where;                  // the box with the treasure
  bool end;
};

// All boxes closed, both players with a pick, and one rand() for the
// treasure box.
void set_up(BOXES_STATE& boxes);

// One event of the game's own queue. Every key press costs each player who
// still has a pick that pick if the key is one of his (arrows for player one,
// W A S D for player two, in box order Up/W, Left/A, Down/S, Right/D), and
// sounds a dig for him whatever the key. Escape and a window-close request
// end the game. Returns how many times the caller plays the dig sound.
int handle_event(BOXES_STATE& boxes, const SDL_Event& e);

// The rules of one pass after its events: an opened treasure box adds 10000
// and ends the game; so does (without the points) both picks being used.
// Returns whether the caller plays the treasure sound.
bool step(BOXES_STATE& boxes, int& score);

// The boxes' pictures and sounds, loaded and freed in the game's own order.
struct BOXES_ASSETS {
  SDL_Surface* bg = nullptr;
  SDL_Surface* t_sheet = nullptr;
  Mix_Chunk* effect1 = nullptr;  // the treasure
  Mix_Chunk* effect2 = nullptr;  // a dig

  void load();  // needs the video mode set
  void free();
};

// Draws the cave and the boxes: closed, open with the treasure, or open and
// empty.
void draw(const BOXES_STATE& boxes, const BOXES_ASSETS& assets, SDL_Surface* screen);

}  // namespace treasure_boxes

// Runs the treasure boxes on screen until they end and adds what was found
// to score.
void mini2(int& score, SDL_Surface*& screen);
