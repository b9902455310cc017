#pragma once
// What a player may change and the game keeps between runs: the players'
// keys and pad buttons, the game speed and the two volumes. The defaults
// are the game as it always plays.
#include <SDL.h>

#include <string>
#include <vector>

#include "controls.h"
#include "platform/key_names.h"  // keys by SDL's names

constexpr int FULL_SPEED = 100;
constexpr int SLOWEST_SPEED = 50;
constexpr int SPEED_STEP = 10;
constexpr int VOLUME_STEP = 10;

struct SETTINGS {
  SDLKey keys[PLAYER_ACTIONS];
  int buttons[PLAYER_ACTIONS];  // a player's pad button for the action, -1 for none
  int speed;                    // percent of the game's own speed, 50 to 100 in steps of 10
  int music;                    // percent, 0 to 100 in steps of 10
  int effects;
  std::string language;  // a code of languages() ("de"); "" follows the system's or the browser's

  SETTINGS();  // the defaults
  bool operator==(const SETTINGS& other) const;
  bool operator!=(const SETTINGS& other) const { return !(*this == other); }
};

// The settings as the file holds them: one "name = value" a line, keys by
// SDL's key names.
std::string settings_text(const SETTINGS& settings);

// The settings a text gives. Each line that is unknown, malformed, names a
// key SDL does not know, a value out of range, or a key or button another
// action already has, is described in problems and leaves its setting as it
// was by default.
SETTINGS settings_from_text(const std::string& text, std::vector<std::string>& problems);

// The action other than action that has key (another player's, a menu's or
// a desktop key), or ACTIONS when the key is free for it.
ACTION key_taken(const SETTINGS& settings, ACTION action, SDLKey key);
// The same for a pad button: another action of the same player or a menu's.
ACTION button_taken(const SETTINGS& settings, ACTION action, int button);

// The settings in use, and a change of them: the keys go to the event layer,
// the volumes to the mixer.
const SETTINGS& current_settings();
void use_settings(const SETTINGS& settings);

// A game played below full speed: it leaves the records alone.
bool assisted();
// How long a frame of play lasts at the current speed: 40 ms at 100%, 80 at 50%.
int game_frame_ms();
// A fixed wait of the game's own (ms at full speed) at the current speed.
Uint32 game_wait_ms(Uint32 ms);

// Reads the player's settings file, if any, into use, saying on stderr once
// what in it was not understood (a few lines at most). Anything but a regular
// file of 64 KB at most is not read: the defaults then. Saves them; false
// (said on stderr) if the file could not be written.
void load_settings();
bool save_settings();
