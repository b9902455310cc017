#pragma once
// Keys by name, for a settings file a person can read and write: the names
// SDL 1.2 gives ("right ctrl", "w", "space"), and ";" for the semicolon.
#include <SDL.h>

#include <string>

// The key's name; "unknown key" for a key without one.
std::string key_name(SDLKey key);

// The key of a name, in any case; SDLK_UNKNOWN for a name no key has.
SDLKey key_named(const std::string& name);

// Replay files number the keys as the desktop's SDL 1.2 does (Up is 273),
// whatever SDL the build has: the browser's numbers its keys otherwise.
// KEY_NUMBERS (SDL 1.2's SDLK_LAST) stands for a key that has no number.
const unsigned KEY_NUMBERS = 323;
unsigned key_number(SDLKey key);

// The key of such a number; SDLK_LAST, a key like no other, for KEY_NUMBERS
// and for a number this build has no key for.
SDLKey key_of_number(unsigned number);
