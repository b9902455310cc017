#pragma once
#include <string>

// Asset paths are written with either "\" or "/" between folders; both name
// the same folders beside the game. Returns the path with "/" throughout.
std::string native_path(std::string path);
