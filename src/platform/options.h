#pragma once
#include <cstdio>

// What the command line asked for. No arguments: the game as it always
// starts, full screen.
struct OPTIONS {
  bool windowed = false;
  const char* replay = nullptr;  // --replay FILE: watch it instead of playing
  bool attract = false;          // the best game plays on the idle title screen
  bool splash = true;            // --no-splash: straight to the title
};

// Reads the command line, before SDL starts. Returns -1 when the game should
// run with `options`; otherwise the program's exit status, having printed the
// help or the version to `out` (0, or 1 with a message on `err` when it could
// not be written) or the usage to `err` (2).
int parse_options(int argc, char* argv[], OPTIONS& options, std::FILE* out, std::FILE* err);
