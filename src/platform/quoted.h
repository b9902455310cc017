#pragma once
#include <cstddef>
#include <string>

// Text from outside the game (an argument, an environment variable, a file's
// line or name) put in single quotes for a message on the terminal, so that
// no byte of it can move the cursor, change colours or end the line: \n, \r,
// \t, \\ and \' as in C, any other byte outside printable ASCII (NUL
// included) as \xHH: every byte of a character beyond ASCII, so that the
// format characters that reverse or hide text (U+202E, U+200B, U+2066,
// U+FEFF and their kin) reach the terminal escaped too.
std::string quoted(const char* text);
// The same for text that may hold NULs; past most bytes it is cut, and
// "..." after the closing quote says so.
std::string quoted(const std::string& text, size_t most = std::string::npos);
// The same escapes without the quotes, for a library's message that may
// repeat outside text (SDL's error names the video driver asked for).
std::string escaped(const char* text);
