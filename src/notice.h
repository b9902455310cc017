#pragma once
#include <SDL.h>

#include <string>

// A word of ours to whoever watches, on the picture the screen holds: line
// centred in the mark face at the height of the replay's marks, and below it,
// if given, more in the same face (on two lines when one is too narrow). It
// stays until a key, a pad's button or a window close, or most_ms; a stop
// signal ends it at once.
void hold_notice(const std::string& line, const std::string& below, Uint32 most_ms);
