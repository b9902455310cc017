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

std::string first_capital(const std::string& text) {
  if (text.empty()) return text;
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  if (byte(0) < 0x80) {
    return static_cast<char>(std::toupper(byte(0))) + text.substr(1);
  }
  if ((byte(0) & 0xe0) != 0xc0 || text.size() < 2 || (byte(1) & 0xc0) != 0x80) return text;
  unsigned c = ((byte(0) & 0x1fu) << 6) | (byte(1) & 0x3fu);
  if ((c >= 0xe0 && c <= 0xfe && c != 0xf7) || (c >= 0x430 && c <= 0x44f)) {
    c -= 0x20;  // à to þ, а to я
  } else if (c >= 0x450 && c <= 0x45f) {
    c -= 0x50;  // ѐ to џ
  } else if (c == 0x491) {
    c = 0x490;  // ґ
  } else if (c >= 0x100 && c <= 0x17f && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17f) {
    // Latin Extended-A pairs its capitals and small letters: the capital
    // first, on even code points, but odd from Ĺ to ň and from Ź to ž.
    const bool odd_capitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17e);
    if ((c % 2 == 1) != odd_capitals) --c;
  }
  std::string out;
  out += static_cast<char>(0xc0 | (c >> 6));
  out += static_cast<char>(0x80 | (c & 0x3f));
  return out + text.substr(2);
}
