// The strong player below full strength, on the Elo scale: a shallower search with fewer
// positions, and a choice among the moves near the best weighted by a noise that shrinks
// as the strength grows. Never a random move: a move far worse than the best is never taken.
#pragma once

#include <cstdint>

constexpr int lowest_elo = 800;
constexpr int full_strength_elo = 2800; // and above: no weakening

struct strength_limits {
    int depth;             // of the search
    uint64_t nodes;        // positions searched at most
    int noise_cp;          // the largest noise added to a move's score
    int keep_within_cp;    // moves scored worse than the best by more are never taken
    int oversight_percent; // how often a move is chosen without looking at the replies
    bool keeps_queen;      // never a move after which the queen can be taken for profit
};

// From here up no move hands over the queen, whatever a shallow search makes of it.
constexpr int careful_from_elo = 1500;

// The limits for a strength; the figures between the anchor strengths are interpolated.
strength_limits strength_for_elo(int elo);

// A noise in [-amplitude, amplitude], most often near 0, from a seed and what it is for.
int strength_noise(uint64_t seed, uint64_t what, int amplitude);

// A draw in [0, 100) from a seed and what it is for.
int strength_percent(uint64_t seed, uint64_t what);
