#pragma once
// Keys by name, for a settings file a person can read and write: the names
// SDL 1.2 gives ("right ctrl", "w", "space"), and ";" for the semicolon.
#include <SDL.h>

#include <string>

// The key's name; "unknown key" for a key without one.
std::string key_name(SDLKey key);

// The key of a name, in any case; SDLK_UNKNOWN for a name no key has.
SDLKey key_named(const std::string& name);
