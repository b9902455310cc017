// The browser's SDL names no key and numbers the keys that are not
// characters far apart, so the names and numbers are the desktop SDL's, from
// a table.
#include "platform/key_names.h"

#include <cctype>

namespace {

struct NAMED {
  SDLKey key;
  const char* name;
  unsigned number;  // the desktop SDL's (SDL 1.2's SDLKey)
};

const NAMED NAMED_KEYS[] = {
    {SDLK_UP, "up", 273},
    {SDLK_DOWN, "down", 274},
    {SDLK_LEFT, "left", 276},
    {SDLK_RIGHT, "right", 275},
    {SDLK_RCTRL, "right ctrl", 305},
    {SDLK_LCTRL, "left ctrl", 306},
    {SDLK_RSHIFT, "right shift", 303},
    {SDLK_LSHIFT, "left shift", 304},
    {SDLK_RALT, "right alt", 307},
    {SDLK_LALT, "left alt", 308},
    {SDLK_RETURN, "return", 13},
    {SDLK_ESCAPE, "escape", 27},
    {SDLK_SPACE, "space", 32},
    {SDLK_TAB, "tab", 9},
    {SDLK_BACKSPACE, "backspace", 8},
    {SDLK_DELETE, "delete", 127},
    {SDLK_INSERT, "insert", 277},
    {SDLK_HOME, "home", 278},
    {SDLK_END, "end", 279},
    {SDLK_PAGEUP, "page up", 280},
    {SDLK_PAGEDOWN, "page down", 281},
    {SDLK_PAUSE, "pause", 19},
    {SDLK_F1, "f1", 282},
    {SDLK_F2, "f2", 283},
    {SDLK_F3, "f3", 284},
    {SDLK_F4, "f4", 285},
    {SDLK_F5, "f5", 286},
    {SDLK_F6, "f6", 287},
    {SDLK_F7, "f7", 288},
    {SDLK_F8, "f8", 289},
    {SDLK_F9, "f9", 290},
    {SDLK_F10, "f10", 291},
    {SDLK_F11, "f11", 292},
    {SDLK_F12, "f12", 293},
};

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Characters name themselves.
bool is_character(SDLKey key) { return key > SDLK_SPACE && key < 127; }

}  // namespace

std::string key_name(SDLKey key) {
  for (const NAMED& named : NAMED_KEYS) {
    if (named.key == key) return named.name;
  }
  if (is_character(key)) return std::string(1, static_cast<char>(key));
  return "unknown key";
}

SDLKey key_named(const std::string& name) {
  const std::string wanted = lower(name);
  for (const NAMED& named : NAMED_KEYS) {
    if (wanted == named.name) return named.key;
  }
  if (wanted.size() == 1 && is_character(static_cast<SDLKey>(wanted[0]))) {
    return static_cast<SDLKey>(wanted[0]);
  }
  return SDLK_UNKNOWN;
}

// Characters are numbered alike by both SDLs (their ASCII code), and so are
// Return, Escape, Space, Tab, Backspace and Delete.
unsigned key_number(SDLKey key) {
  for (const NAMED& named : NAMED_KEYS) {
    if (named.key == key) return named.number;
  }
  return key > 0 && key < 128 ? static_cast<unsigned>(key) : KEY_NUMBERS;
}

SDLKey key_of_number(unsigned number) {
  for (const NAMED& named : NAMED_KEYS) {
    if (named.number == number) return named.key;
  }
  return number > 0 && number < 128 ? static_cast<SDLKey>(number) : SDLK_LAST;
}
