#pragma once
#include <string>
#include <vector>

// Every file the game reads, as a path relative to the game directory.
const std::vector<std::string>& game_files();

// The game files that cannot be opened for reading from the working directory.
std::vector<std::string> missing_game_files();
