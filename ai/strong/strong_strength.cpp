#include "ai/strong/strong_strength.h"

#include <algorithm>
#include <iterator>

namespace {

// The limits at one strength; those between two rows are interpolated.
struct anchor {
    int elo;
    int depth;
    uint64_t nodes;
    int noise_cp;
    int keep_within_cp;
    int oversight_percent;
};

// Each row was placed by games at 100 ms a move on one thread against Stockfish's Skill
// Levels (tools/elo-calibration); the ladder in docs/reference.md is the measurement of the
// settings between and on them. Below 1500 the player also overlooks replies now and then.
constexpr anchor anchors[] = {
    {800, 2, 1500, 120, 400, 3},
    {1000, 4, 10000, 50, 180, 1},
    {1200, 5, 40000, 25, 110, 0},
    {1400, 7, 132142, 40, 150, 0},
    {1600, 7, 132142, 15, 89, 0},
    {1800, 8, 250000, 5, 55, 0},
    {2000, 9, 366666, 6, 64, 0},
    {2200, 11, 600000, 3, 45, 0},
    {full_strength_elo, 64, 4000000, 0, 0, 0},
};

int64_t between(int64_t a, int64_t b, int64_t num, int64_t den) {
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
    size_t i = 1;
    while (i + 1 < std::size(anchors) && elo > anchors[i].elo) i++;
    const anchor &lo = anchors[i - 1], &hi = anchors[i];
    const int num = std::max(0, elo - lo.elo), den = hi.elo - lo.elo;
    const auto at = [&](int64_t a, int64_t b) { return between(a, b, num, den); };
    return {
        static_cast<int>(at(lo.depth, hi.depth)),
        static_cast<uint64_t>(at(static_cast<int64_t>(lo.nodes), static_cast<int64_t>(hi.nodes))),
        static_cast<int>(at(lo.noise_cp, hi.noise_cp)),
        static_cast<int>(at(lo.keep_within_cp, hi.keep_within_cp)),
        static_cast<int>(at(lo.oversight_percent, hi.oversight_percent)),
        elo >= careful_from_elo};
}

int strength_noise(uint64_t seed, uint64_t what, int amplitude) {
    if (amplitude <= 0) return 0;
    const uint64_t r = mix(seed * 0x9E3779B97F4A7C15ull ^ what);
    // Two uniform draws added: a triangle peaked at 0.
    const int64_t a = static_cast<int64_t>(r & 0xFFFF),
                  b = static_cast<int64_t>((r >> 16) & 0xFFFF);
    return static_cast<int>((a + b - 0xFFFF) * amplitude / 0xFFFF);
}

int strength_percent(uint64_t seed, uint64_t what) {
    return static_cast<int>(mix(seed * 0xD1B54A32D192ED03ull ^ what) % 100);
}
