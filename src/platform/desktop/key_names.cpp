#include "platform/key_names.h"

#include <cctype>

namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

static_assert(KEY_NUMBERS == SDLK_LAST, "replay files number the keys as this SDL does");

// SDL 1.2 on SDL2 calls the semicolon ");".
std::string key_name(SDLKey key) { return key == SDLK_SEMICOLON ? ";" : SDL_GetKeyName(key); }

SDLKey key_named(const std::string& name) {
  const std::string wanted = lower(name);
  if (wanted.empty() || wanted == "unknown key") return SDLK_UNKNOWN;
  for (int k = SDLK_FIRST + 1; k < SDLK_LAST; ++k) {
    const SDLKey key = static_cast<SDLKey>(k);
    // SDL's own name too: files written before kept the semicolon as ");".
    const char* given = SDL_GetKeyName(key);
    if (lower(key_name(key)) == wanted || (given != nullptr && lower(given) == wanted)) return key;
  }
  return SDLK_UNKNOWN;
}

unsigned key_number(SDLKey key) {
  return key >= 0 && key < SDLK_LAST ? static_cast<unsigned>(key) : KEY_NUMBERS;
}

SDLKey key_of_number(unsigned number) {
  return number < KEY_NUMBERS ? static_cast<SDLKey>(number) : SDLK_LAST;
}
