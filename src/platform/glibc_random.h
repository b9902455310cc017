#pragma once
// glibc's rand() as its manual documents it (random_r, TYPE_3): an additive
// feedback generator, r[i] = r[i-3] + r[i-31] mod 2^32, whose 31 words are
// seeded through r[i] = 16807 * r[i-1] mod (2^31 - 1) and run 310 steps before
// the first number, each number being r >> 1. The browser's C library draws
// other numbers from the same seed; this one makes them the desktop's.
#include <cstdint>

struct GLIBC_RANDOM {
  uint32_t r[31];
  int front;  // the word that takes the sum
  int rear;   // the word added to it
};

void glibc_seed(GLIBC_RANDOM& g, unsigned seed);

// The next number, 0 to 2^31 - 1.
int glibc_next(GLIBC_RANDOM& g);
