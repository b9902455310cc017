// The browser's SDL names no key and numbers the keys that are not
// characters far apart, so the names are the desktop SDL's, from a table.
#include "platform/key_names.h"

#include <cctype>

namespace {

struct NAMED {
  SDLKey key;
  const char* name;
};

const NAMED NAMED_KEYS[] = {
    {SDLK_UP, "up"},
    {SDLK_DOWN, "down"},
    {SDLK_LEFT, "left"},
    {SDLK_RIGHT, "right"},
    {SDLK_RCTRL, "right ctrl"},
    {SDLK_LCTRL, "left ctrl"},
    {SDLK_RSHIFT, "right shift"},
    {SDLK_LSHIFT, "left shift"},
    {SDLK_RALT, "right alt"},
    {SDLK_LALT, "left alt"},
    {SDLK_RETURN, "return"},
    {SDLK_ESCAPE, "escape"},
    {SDLK_SPACE, "space"},
    {SDLK_TAB, "tab"},
    {SDLK_BACKSPACE, "backspace"},
    {SDLK_DELETE, "delete"},
    {SDLK_INSERT, "insert"},
    {SDLK_HOME, "home"},
    {SDLK_END, "end"},
    {SDLK_PAGEUP, "page up"},
    {SDLK_PAGEDOWN, "page down"},
    {SDLK_PAUSE, "pause"},
    {SDLK_F1, "f1"},
    {SDLK_F2, "f2"},
    {SDLK_F3, "f3"},
    {SDLK_F4, "f4"},
    {SDLK_F5, "f5"},
    {SDLK_F6, "f6"},
    {SDLK_F7, "f7"},
    {SDLK_F8, "f8"},
    {SDLK_F9, "f9"},
    {SDLK_F10, "f10"},
    {SDLK_F11, "f11"},
    {SDLK_F12, "f12"},
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
