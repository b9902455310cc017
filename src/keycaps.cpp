#include "keycaps.h"

#include <cctype>

#include "platform/key_names.h"

namespace {

// Where SDL's name is not what the keycap says.
const struct {
  const char* sdl;
  const char* cap;
} RENAMED[] = {{"return", "Enter"},     {"enter", "Keypad Enter"}, {"equals", "Keypad ="},
               {"numlock", "Num Lock"}, {"sys req", "SysRq"},      {"alt gr", "AltGr"}};

}  // namespace

std::string keycap(SDLKey key) {
  std::string name = key_name(key);
  for (const auto& renamed : RENAMED) {
    if (name == renamed.sdl) return renamed.cap;
  }
  // The keypad's keys are "[1]", "[+]".
  if (name.size() == 3 && name.front() == '[' && name.back() == ']') {
    return std::string("Keypad ") + name[1];
  }
  bool word_start = true;
  for (char& c : name) {
    if (word_start) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    word_start = c == ' ';
  }
  return name;
}
