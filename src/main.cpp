#include <cstring>

#include "game.h"
#include "verify.h"

int main(int argc, char* argv[]) {
  // The world board's check of recorded games, before anything of the game starts.
  if (argc > 1 && std::strcmp(argv[1], "--verify") == 0) {
    return verify_replays(argc - 2, argv + 2, stdout);
  }
  return SDL_main(argc, argv);
}
