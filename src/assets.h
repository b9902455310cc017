#pragma once
#include <string>
#include <vector>

// Every file the game reads, as a path relative to the game directory.
const std::vector<std::string>& game_files();

// A game file the game cannot use: "missing", "unreadable" (it is there
// but cannot be opened), "not a regular file" (a pipe, a device or a
// folder, never opened) or "corrupt" (it opens but does not decode).
struct BAD_FILE {
  std::string problem;
  std::string path;
};

// Opens and decodes every game file once from the working directory, with
// the loaders the game uses: images with IMG_Load, fonts with TTF_OpenFont,
// sounds with SDL's WAV reader and, once the audio device is open, with the
// mixer's loaders for effects and music. Call after SDL_Init and TTF_Init,
// and after opening the audio device if it can be; no window is needed.
// Nothing in it waits on a file. A stop signal ends it between two files,
// with what was found so far: the caller looks at stop_requested().
std::vector<BAD_FILE> bad_game_files();
