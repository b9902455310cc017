#include "random.h"

#include <cstdlib>

namespace {

unsigned seed_given = 1;  // rand()'s own seed until srand is called
unsigned long drawn = 0;

}  // namespace

int game_rand() {
  ++drawn;
  return std::rand();
}

void seed_rand(unsigned seed) {
  std::srand(seed);
  seed_given = seed;
  drawn = 0;
}

unsigned rand_seed() { return seed_given; }

unsigned long rand_draws() { return drawn; }

void rewind_rand(unsigned seed, unsigned long draws) {
  seed_rand(seed);
  while (drawn < draws) game_rand();
}
