#pragma once
// Why a file was not read whole or not replaced, in the player's words: the
// readers and replace_file give a result and an errno value, and the message
// that tells the player is made from them here.
#include <string>

#include "platform/regular_file.h"

// "not a regular file", "too large" or the system's words for error.
std::string read_problem(READ_RESULT result, int error);

// replace_file's result: "not a regular file, left alone" or the system's
// words for error.
std::string file_error_text(int error);
