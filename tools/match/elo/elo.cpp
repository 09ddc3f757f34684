#include "elo/elo.h"

#include <cmath>
#include <limits>

namespace {

constexpr double z95 = 1.959964;
constexpr double sweep_chance = 0.05;

double elo_of(double score) {
    if (score <= 0) return -std::numeric_limits<double>::infinity();
    if (score >= 1) return std::numeric_limits<double>::infinity();
    return -400.0 * std::log10(1.0 / score - 1.0);
}

} // namespace

elo_estimate estimate_elo(const match_score &s) {
    elo_estimate e{};
    const int n = s.wins + s.draws + s.losses;
    if (n == 0) return e;
    const double p = (s.wins + 0.5 * s.draws) / n;
    e.score = p;
    e.elo = elo_of(p);
    e.finite = p > 0 && p < 1;
    if (!e.finite) {
        const double bound = 1.0 - std::pow(sweep_chance, 1.0 / n);
        e.low = p > 0 ? elo_of(1.0 - bound) : -std::numeric_limits<double>::infinity();
        e.high = p > 0 ? std::numeric_limits<double>::infinity() : elo_of(bound);
        return e;
    }
    const double variance =
        (s.wins * (1 - p) * (1 - p) + s.draws * (0.5 - p) * (0.5 - p) + s.losses * p * p) / n;
    const double error = std::sqrt(variance / n);
    e.low = elo_of(p - z95 * error);
    e.high = elo_of(p + z95 * error);
    return e;
}
