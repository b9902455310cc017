#include "minigames/mini2.h"

#include <cstdlib>

#include "minigames/funcs.h"
#include "overlays.h"
#include "platform/events.h"
#include "random.h"
#include "settings.h"
#include "sound.h"
#include "timer.h"

namespace treasure_boxes {
namespace {

const int BOX_W = 60;
const int BOX_H = 120;
const int FIRST_BOX_X = 40;
const int BOX_SPACING = 160;
const int BOX_Y = 340;
const int CLOSED = 0, WITH_TREASURE = 1, EMPTY_BOX = 2;  // cells of the box sheet
const int END_PAUSE_MS = 1000;

// The box a key opens for one player, or -1.
// The directions open the boxes from left to right in this order.
const PLAYER_MOVE BOX_MOVES[BOX_COUNT] = {MOVE_UP, MOVE_LEFT, MOVE_DOWN, MOVE_RIGHT};

int box_of(SDLKey key, int player) {
  for (int k = 0; k < BOX_COUNT; ++k) {
    if (player_key(player, BOX_MOVES[k]) == key) return k;
  }
  return -1;
}

// One player's share of a key press: his pick if the key is his. A box that
// is already open still uses the pick up.
int pick(BOXES_STATE& boxes, bool& choose, SDLKey key, int player) {
  if (!choose) return 0;
  const int k = box_of(key, player);
  if (k >= 0) {
    boxes.treasures[k] = true;
    choose = false;
  }
  return 1;
}

}  // namespace

void set_up(BOXES_STATE& boxes) {
  boxes.end = false;
  boxes.choose1 = true;
  boxes.choose2 = true;
  boxes.where = game_rand() % BOX_COUNT;
  for (bool& opened : boxes.treasures) opened = false;
}

int handle_event(BOXES_STATE& boxes, const SDL_Event& e) {
  if (e.type == SDL_QUIT) {
    boxes.end = true;
    return 0;
  }
  if (e.type != SDL_KEYDOWN) return 0;
  const SDLKey key = e.key.keysym.sym;
  if (key == key_of(MENU_QUIT)) boxes.end = true;
  int digs = pick(boxes, boxes.choose1, key, 0);
  digs += pick(boxes, boxes.choose2, key, 1);
  return digs;
}

bool step(BOXES_STATE& boxes, int& score) {
  bool found = false;
  // Only one box holds the treasure, so it pays once even when both players
  // opened it.
  if (boxes.treasures[boxes.where]) {
    boxes.end = true;
    score += BOX_TREASURE_POINTS;
    found = true;
  }
  if (!boxes.choose1 && !boxes.choose2) boxes.end = true;
  return found;
}

void BOXES_ASSETS::load() {
  bg = ::load("minigames/cave.png");
  t_sheet = ::load("minigames/t_box.png");
  effect1 = load_sound("sfx/treasure.wav");
  effect2 = load_sound("sfx/dig.wav");
}

void BOXES_ASSETS::free() {
  SDL_FreeSurface(bg);
  Mix_FreeChunk(effect1);
  Mix_FreeChunk(effect2);
  SDL_FreeSurface(t_sheet);
  *this = BOXES_ASSETS();
}

void draw(const BOXES_STATE& boxes, const BOXES_ASSETS& assets, SDL_Surface* screen) {
  apply(0, 0, assets.bg, screen);
  for (int k = 0; k < BOX_COUNT; ++k) {
    int cell = CLOSED;
    if (boxes.treasures[k]) cell = (k == boxes.where) ? WITH_TREASURE : EMPTY_BOX;
    SDL_Rect clip = {static_cast<Sint16>(cell * BOX_W), 0, BOX_W, BOX_H};
    apply(FIRST_BOX_X + BOX_SPACING * k, BOX_Y, assets.t_sheet, screen, &clip);
  }
}

}  // namespace treasure_boxes

void mini2(int& score, SDL_Surface*& screen) {
  using namespace treasure_boxes;
  BOXES_ASSETS assets;
  assets.load();
  BOXES_STATE boxes;
  set_up(boxes);

  TIMER timer;
  SDL_Event minievent;
  while (!boxes.end) {
    timer.start();
    while (poll_event(&minievent)) {
      for (int digs = handle_event(boxes, minievent); digs > 0; --digs) play_sound(assets.effect2);
    }
    draw(boxes, assets, screen);
    if (step(boxes, score)) play_sound(assets.effect1);
    show_frame(screen);
    // Without this the boxes would spin a whole core waiting for two keys.
    pace_frame(timer, game_frame_ms());
  }

  closing_pause(END_PAUSE_MS);
  assets.free();
}
