#pragma once
#include <string>

// One message on the terminal, "brinegrab: " and the line, on stderr. The
// line is whole text, translated and filled: never a printf format.
void say(const std::string& line);
