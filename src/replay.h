#pragma once
#include <SDL.h>

#include <string>
#include <vector>

#include "controls.h"

// One recorded game and its file format. A replay file is a header of
// `name = value` lines (unknown names are skipped, so later fields can be
// added), a line "data", then the events and frame verdicts packed in bytes.
const int REPLAY_FORMAT = 1;

// An event the game's rules read: a key pressed or let go, or the window
// closed. drain numbers the empty polls of the event queue before it: every
// loop, the mini-games and the fight included, drains the queue once a frame.
enum class REPLAY_KIND : Uint8 { KEY_DOWN = 0, KEY_UP = 1, QUIT = 2 };
struct REPLAY_EVENT {
  Uint32 drain = 0;
  REPLAY_KIND kind = REPLAY_KIND::KEY_DOWN;
  Uint16 key = 0;
  bool operator==(const REPLAY_EVENT& o) const {
    return drain == o.drain && kind == o.kind && key == o.key;
  }
};

struct RECORDED_GAME {
  RECORDED_GAME();

  std::string version;  // the game that made it
  int format = REPLAY_FORMAT;
  // Whose rand() made the numbers (platform/random_stream.h): a file that
  // names none was made by the desktop game.
  std::string random;
  bool multi = false;
  int speed = 100;  // the game's speed in per cent
  // The players' keys as they were: the events are the keys that reached
  // the game, so they mean what those keys meant then.
  SDLKey keys[PLAYER_ACTIONS];
  // The stream of random numbers: rand() seeded once, and the draws made
  // before the game began (start-up and the games before it included).
  unsigned seed = 0;
  unsigned long draws = 0;
  std::vector<int> carried;  // what the game began with from the games before it
  std::vector<REPLAY_EVENT> events;
  std::vector<bool> on_time;  // each paced frame's verdict, in order
  // How it ended: the final score, the drains of the event queue in all, and
  // a hash of the final state.
  int score = 0;
  Uint32 drains = 0;
  Uint32 state = 0;
};

// The file's bytes.
std::string replay_text(const RECORDED_GAME& replay);

// Reads a replay file's bytes made by any version. False, with one line
// saying why in error, for anything that is not a whole, sound replay.
// Given used, more may follow the replay (a run's files one after another):
// *used says where it ended.
bool parse_replay(const std::string& bytes, RECORDED_GAME& replay, std::string& error,
                  size_t* used = nullptr);

// Whether this build plays it as recorded; if not, error says which game and
// format made it and which this is.
bool replay_fits_build(const RECORDED_GAME& replay, std::string& error);

// This build's version.
const char* game_version();
