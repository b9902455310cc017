// libFuzzer target for the settings file: whatever the text, the settings
// read from it are settings the game can play with (every value in range, a
// language the game speaks, no key or button doing two things), they go
// through the file's text and back unchanged and without a word, and every
// message about the text is one clean line: outside text in it is quoted, so
// no byte of the file can reach the terminal raw. Built by the fuzz preset,
// run by scripts/fuzz.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "checks.h"
#include "languages.h"
#include "settings.h"

namespace {

bool step_of(int value, int low, int high, int step) {
  return value >= low && value <= high && value % step == 0;
}

int player_of(int action) { return action / PLAYER_MOVES; }

// Every key is a player's own: not another action's, nor one of the keys the
// menus and the desktop keep (the watcher's keys act only where no player's
// does). Every button is one of the player's pad's, free of the menus'.
void require_playable(const SETTINGS& s) {
  require(step_of(s.speed, 50, 100, 10));
  require(step_of(s.music, 0, 100, 10));
  require(step_of(s.effects, 0, 100, 10));
  bool spoken = s.language.empty();
  for (const LANGUAGE& l : languages()) spoken = spoken || s.language == l.code;
  require(spoken);
  for (int a = 0; a < PLAYER_ACTIONS; ++a) {
    require(s.keys[a] > SDLK_UNKNOWN && s.keys[a] < SDLK_LAST);
    require(s.buttons[a] >= -1 && s.buttons[a] <= 99);
    for (int b = a + 1; b < PLAYER_ACTIONS; ++b) {
      require(s.keys[a] != s.keys[b]);
      if (player_of(a) == player_of(b)) require(s.buttons[a] < 0 || s.buttons[a] != s.buttons[b]);
    }
    for (int fixed = PLAYER_ACTIONS; fixed < ACTIONS; ++fixed) {
      const CONTROL& c = control(static_cast<ACTION>(fixed));
      if (fixed < WATCH_GAME) require(s.keys[a] != c.key);
      require(s.buttons[a] < 0 || s.buttons[a] != c.button);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> problems;
  const SETTINGS settings = settings_from_text(text, problems);
  require_playable(settings);
  for (const std::string& problem : problems) require(clean_line(problem));

  std::vector<std::string> again;
  require(settings_from_text(settings_text(settings), again) == settings);
  require(again.empty());
  return 0;
}
