#pragma once
#include <string>

// Text from outside the game (an argument, an environment variable) put in
// single quotes for a message on the terminal, so that no byte of it can
// move the cursor, change colours or end the line: \n, \r, \t, \\ and \'
// as in C, any other byte outside printable ASCII as \xHH.
std::string quoted(const char* text);
