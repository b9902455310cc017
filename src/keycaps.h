#pragma once
// Keys as a player reads them on the keyboard: "Enter", "Keypad Enter",
// "Right Ctrl", "W", ";".
#include <SDL.h>

#include <string>

std::string keycap(SDLKey key);
