#include "platform/key_names.h"

#include <cctype>

namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

static_assert(KEY_NUMBERS == SDLK_LAST, "replay files number the keys as this SDL does");

std::string key_name(SDLKey key) { return SDL_GetKeyName(key); }

SDLKey key_named(const std::string& name) {
  const std::string wanted = lower(name);
  if (wanted.empty() || wanted == "unknown key") return SDLK_UNKNOWN;
  for (int k = SDLK_FIRST + 1; k < SDLK_LAST; ++k) {
    const char* given = SDL_GetKeyName(static_cast<SDLKey>(k));
    if (given != nullptr && lower(given) == wanted) return static_cast<SDLKey>(k);
  }
  return SDLK_UNKNOWN;
}

unsigned key_number(SDLKey key) {
  return key >= 0 && key < SDLK_LAST ? static_cast<unsigned>(key) : KEY_NUMBERS;
}

SDLKey key_of_number(unsigned number) {
  return number < KEY_NUMBERS ? static_cast<SDLKey>(number) : SDLK_LAST;
}
