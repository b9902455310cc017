#include "keycaps.h"

#include <cctype>

#include "platform/catalog.h"
#include "platform/key_names.h"

namespace {

// Where SDL's name is not what the keycap says.
// clang-format off
const struct {
  const char* sdl;
  const char* cap;
} RENAMED[] = {
    // Keys by the names their keycaps carry, as the settings screen shows them.
    {"return", N_("Enter")},
    {"enter", N_("Keypad Enter")},
    {"equals", N_("Keypad =")},
    {"numlock", N_("Num Lock")},
    {"sys req", N_("SysRq")},
    {"alt gr", N_("AltGr")},
    // The keys whose names a player's language has words of its own for:
    // the arrow keys' names, as on the settings screen ("Up / stick"), not
    // the moves of those names.
    // fit: LIST 110
    {"up", NC_("key", "Up")},
    // fit: LIST 110
    // The arrow key's name, not the move.
    {"down", NC_("key", "Down")},
    // fit: LIST 110
    // The arrow key's name, not the move.
    {"left", NC_("key", "Left")},
    // fit: LIST 110
    // The arrow key's name, not the move.
    {"right", NC_("key", "Right")},
    {"space", N_("Space")},
    {"escape", N_("Escape")},
    // The key's name, not the action.
    {"pause", NC_("key", "Pause")},
    {"right ctrl", N_("Right Ctrl")},
    {"left ctrl", N_("Left Ctrl")},
    {"right shift", N_("Right Shift")},
    {"left shift", N_("Left Shift")},
    {"right alt", N_("Right Alt")},
    {"left alt", N_("Left Alt")},
    {"tab", N_("Tab")},
    {"backspace", N_("Backspace")},
    {"delete", N_("Delete")},
    {"insert", N_("Insert")},
    {"home", N_("Home")},
    {"end", N_("End")},
    {"page up", N_("Page Up")},
    {"page down", N_("Page Down")},
};
// clang-format on

}  // namespace

std::string keycap(SDLKey key) {
  std::string name = key_name(key);
  for (const auto& renamed : RENAMED) {
    if (name == renamed.sdl) return tr(renamed.cap);
  }
  // The keypad's keys are "[1]", "[+]".
  if (name.size() == 3 && name.front() == '[' && name.back() == ']') {
    // A key of the keypad: {1} is what it carries ("1", "+").
    return fill(tr("Keypad {1}"), {std::string(1, name[1])});
  }
  bool word_start = true;
  for (char& c : name) {
    if (word_start) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    word_start = c == ' ';
  }
  return name;
}
