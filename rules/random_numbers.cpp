#include "rules/random_numbers.h"

namespace {

// Seeding fills the state with a multiplicative congruential sequence (16807 modulo
// 2^31 - 1, computed without overflow), then throws away ten rounds of the state.
constexpr int32_t lcg_multiplier = 16807;
constexpr int32_t lcg_quotient = 127773; // (2^31 - 1) / 16807
constexpr int32_t lcg_remainder = 2836;  // (2^31 - 1) % 16807
constexpr int32_t lcg_modulus = 2147483647;
constexpr int discarded_rounds = 10;

} // namespace

random_numbers seeded_random_numbers(unsigned seed) {
    random_numbers r{};
    if (seed == 0) seed = 1;
    auto word = static_cast<int32_t>(seed);
    r.state[0] = word;
    for (int i = 1; i < random_degree; i++) {
        const int32_t hi = word / lcg_quotient;
        const int32_t lo = word % lcg_quotient;
        word = lcg_multiplier * lo - lcg_remainder * hi;
        if (word < 0) word += lcg_modulus;
        r.state[i] = word;
    }
    r.front = random_separation;
    r.rear = 0;
    for (int i = 0; i < random_degree * discarded_rounds; i++) next_random(&r);
    return r;
}

int next_random(random_numbers *random) {
    // Unsigned, so that the sum wraps as the library's does.
    const uint32_t sum = static_cast<uint32_t>(random->state[random->front]) +
                         static_cast<uint32_t>(random->state[random->rear]);
    random->state[random->front] = static_cast<int32_t>(sum);
    if (++random->front >= random_degree) random->front = 0;
    if (++random->rear >= random_degree) random->rear = 0;
    return static_cast<int>(sum >> 1);
}
