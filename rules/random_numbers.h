// The game's random numbers: an additive feedback generator that draws, for a given seed,
// exactly the numbers the C library's rand() draws after srand() of that seed on this
// system (glibc's default generator), in the same order. Recorded games, analyses and tests
// rest on those draws, so they stay the same; each owner (a game, a hint, an engine) keeps
// an instance of its own instead of sharing the library's hidden state.
#pragma once

#include <cstdint>

constexpr int random_degree = 31;    // words of state
constexpr int random_separation = 3; // distance between the two words added
constexpr int32_t random_largest = 0x7FFFFFFF;

struct random_numbers {
    int32_t state[random_degree];
    int front; // the word that receives the sum
    int rear;  // the word added to it
};

// The generator as srand(seed) leaves the library's (a seed of 0 counts as 1).
random_numbers seeded_random_numbers(unsigned seed);

// The next number, 0..random_largest, as rand() would return it.
int next_random(random_numbers *random);
