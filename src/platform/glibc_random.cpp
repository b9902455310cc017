#include "platform/glibc_random.h"

void glibc_seed(GLIBC_RANDOM& g, unsigned seed) {
  if (seed == 0) seed = 1;  // a zero would keep every word zero
  g.r[0] = seed;
  // Schrage's method keeps 16807 * word within 32 bits; the seed's bits are
  // read as a signed word, as glibc keeps its state.
  int32_t word = static_cast<int32_t>(seed);
  for (int i = 1; i < 31; ++i) {
    const int32_t hi = word / 127773;
    const int32_t lo = word % 127773;
    word = 16807 * lo - 2836 * hi;
    if (word < 0) word += 2147483647;
    g.r[i] = static_cast<uint32_t>(word);
  }
  g.front = 3;
  g.rear = 0;
  for (int i = 0; i < 310; ++i) glibc_next(g);
}

int glibc_next(GLIBC_RANDOM& g) {
  g.r[g.front] += g.r[g.rear];
  const int result = static_cast<int>(g.r[g.front] >> 1);
  g.front = (g.front + 1) % 31;
  g.rear = (g.rear + 1) % 31;
  return result;
}
