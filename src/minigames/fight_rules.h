#pragma once
// The sword fight's rules, apart from drawing and sound: two pirates on a
// ship's deck, enemy pirates walking in along six lanes, sword strokes that
// send them back for 1000 points each. Any enemy touching a pirate ends it.
#include <SDL.h>

namespace fight {

// Facings: the rows of a pirate sheet.
const int RIGHT = 0;
const int LEFT = 1;
// Pixels per frame added by each movement key.
const int VELOCITY = 10;

const int LANES = 6;
// Where an enemy comes back in after a stroke or after walking off the deck.
const int LEFT_ENTRY_X = -80;   // odd lanes, walking right
const int RIGHT_ENTRY_X = 720;  // even lanes, walking left
const int ENEMY_STEP = 5;
const int STROKE_POINTS = 1000;

// The deck the pirates keep to.
const int DECK_LEFT = 0, DECK_RIGHT = 560, DECK_TOP = 100, DECK_BOTTOM = 400;

// One enemy pirate. Only its x and type ever change; it is drawn 80 x 80
// from the hit box's corner whatever the box's width.
struct pirate {
  int type;  // its row of the enemy sheet, 0 to 3
  SDL_Rect hitbox;
};

struct FIGHT_STATE {
  bool end = false;
  int bgx = 0;        // x of the water's left copy
  int op_frames = 0;  // enemies' animation counter, 0 to 3
  pirate Pirates[LANES] = {};
  int pt_frame = 0;  // the players' animation counter, 0 to 8
  SDL_Rect hitbox1 = {280, 200, 80, 80};
  SDL_Rect hitbox2 = {280, 300, 80, 80};
  int xVel1 = 0, yVel1 = 0, xVel2 = 0, yVel2 = 0;
  // A player's key releases count only once he has pressed a movement key
  // here: keys held down from the main game must not push him about.
  bool moved1 = false, moved2 = false;
  int STATUS1 = LEFT, STATUS2 = LEFT;
  bool slash1 = false, slash2 = false;
  int slash1c = 0, slash2c = 0;
  SDL_Rect shitbox1 = {}, shitbox2 = {};  // fixed where each stroke began
};

// Lane i's entry: position and size of its enemy's hit box.
SDL_Rect lane_entry(int lane);

// A fresh fight: both pirates in the middle of the deck, facing left, and an
// enemy at the entry of every lane, lane 0 to 5, each type drawn by rand().
void start(FIGHT_STATE& s);

// One event. Escape or a window-close request ends the fight (the frame
// still runs to its end). Returns true when a sword stroke began, so the
// caller can play the sword.
bool handle_input(FIGHT_STATE& s, const SDL_Event& e);

// Everything of one frame after the input: stroke timers, movement, the
// contact test, the enemies' walk, the strokes (adding to score), then the
// animation counters the drawing uses.
void step(FIGHT_STATE& s, int& score);

}  // namespace fight
