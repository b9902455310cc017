#pragma once
// Keys as a player reads them on the keyboard: "Enter", "Keypad Enter",
// "Right Ctrl", "W", ";".
#include <SDL.h>

#include <string>

std::string keycap(SDLKey key);

// UTF-8 text with its first letter a capital: ASCII, the Latin letters of
// the game's European languages (Latin-1 and Latin Extended-A) and Cyrillic;
// any other first character stays as it is.
std::string first_capital(const std::string& text);
