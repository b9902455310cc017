#pragma once

// Every draw of the game's random numbers goes through game_rand, in the
// game's fixed order. It is rand() and nothing more, but it counts: a replay
// finds a game's numbers again as the run's seed plus the draws before it.
int game_rand();

// Seeds the stream (srand) and starts the count again.
void seed_rand(unsigned seed);

// The seed last given to seed_rand, and the draws since then.
unsigned rand_seed();
unsigned long rand_draws();

// Seeds the stream with seed and draws until draws numbers have been drawn.
void rewind_rand(unsigned seed, unsigned long draws);
