#include "ai/strong_strength.h"

#include <algorithm>
#include <iterator>

namespace {

struct anchor {
    int elo;
    strength_limits limits;
};

// Hand-set from the depths and node counts at which the full player is known to play
// badly or well; measured by games, not by this table.
constexpr anchor anchors[] = {
    {800, {1, 300, 250, 800}},   {1000, {1, 600, 180, 600}},
    {1200, {2, 1500, 120, 400}}, {1400, {3, 4000, 80, 250}},
    {1600, {4, 10000, 50, 150}}, {1800, {5, 25000, 30, 120}},
    {2000, {6, 60000, 20, 100}}, {2200, {8, 150000, 10, 80}},
    {2400, {10, 400000, 5, 60}}, {full_strength_elo, {64, 4000000, 0, 0}},
};

int between(int a, int b, int num, int den) {
    return a + (b - a) * num / den;
}

uint64_t mix(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

strength_limits strength_for_elo(int elo) {
    elo = std::clamp(elo, lowest_elo, full_strength_elo);
    for (size_t i = 0; i + 1 < std::size(anchors); i++) {
        const anchor &lo = anchors[i], &hi = anchors[i + 1];
        if (elo > hi.elo) continue;
        const int num = elo - lo.elo, den = hi.elo - lo.elo;
        return {between(lo.limits.depth, hi.limits.depth, num, den),
                static_cast<uint64_t>(between(static_cast<int>(lo.limits.nodes),
                                              static_cast<int>(hi.limits.nodes), num, den)),
                between(lo.limits.noise_cp, hi.limits.noise_cp, num, den),
                between(lo.limits.keep_within_cp, hi.limits.keep_within_cp, num, den)};
    }
    return anchors[std::size(anchors) - 1].limits;
}

int strength_noise(uint64_t seed, uint64_t what, int amplitude) {
    if (amplitude <= 0) return 0;
    const uint64_t r = mix(seed * 0x9E3779B97F4A7C15ull ^ what);
    // Two uniform draws added: a triangle peaked at 0.
    const int64_t a = static_cast<int64_t>(r & 0xFFFF),
                  b = static_cast<int64_t>((r >> 16) & 0xFFFF);
    return static_cast<int>((a + b - 0xFFFF) * amplitude / 0xFFFF);
}
