#include "elo/elo_fit.h"

#include <cmath>
#include <limits>

namespace {

constexpr double half_chi_square_95 = 3.841459 / 2;
constexpr double lowest = -5000, highest = 10000; // far beyond any chess player
constexpr int bisections = 100;
constexpr double infinity = std::numeric_limits<double>::infinity();

double log_likelihood(const std::vector<anchor_score> &scores, double elo) {
    double sum = 0;
    for (const anchor_score &s : scores) {
        const int games = s.wins + s.draws + s.losses;
        const double points = s.wins + 0.5 * s.draws;
        const double e = expected_score(elo - s.anchor_elo);
        if (points > 0) sum += points * std::log(e);
        if (games - points > 0) sum += (games - points) * std::log1p(-e);
    }
    return sum;
}

// The x in [low, high] where `rises(x)` turns true, for a predicate false at low and true
// at high.
template <typename Predicate> double turning_point(double low, double high, Predicate rises) {
    for (int i = 0; i < bisections; i++) {
        const double mid = (low + high) / 2;
        (rises(mid) ? high : low) = mid;
    }
    return (low + high) / 2;
}

} // namespace

double expected_score(double difference) {
    return 1 / (1 + std::pow(10.0, -difference / 400));
}

elo_fit fit_elo(const std::vector<anchor_score> &scores) {
    elo_fit f;
    for (const anchor_score &s : scores) {
        f.games += s.wins + s.draws + s.losses;
        f.points += s.wins + 0.5 * s.draws;
    }
    if (f.games == 0) return f;
    // The best x scores as many points as were scored: the expected total rises with x.
    const auto expected_points = [&scores](double elo) {
        double sum = 0;
        for (const anchor_score &s : scores)
            sum += (s.wins + s.draws + s.losses) * expected_score(elo - s.anchor_elo);
        return sum;
    };
    double best_log_likelihood = 0; // the supremum after a sweep
    if (f.points <= 0) {
        f.elo = -infinity;
    } else if (f.points >= f.games) {
        f.elo = infinity;
    } else {
        f.elo = turning_point(lowest, highest,
                              [&](double x) { return expected_points(x) >= f.points; });
        best_log_likelihood = log_likelihood(scores, f.elo);
    }
    const auto outside = [&](double x) {
        return log_likelihood(scores, x) < best_log_likelihood - half_chi_square_95;
    };
    f.low = f.points <= 0 ? -infinity
                          : turning_point(lowest, std::min(f.elo, highest),
                                          [&](double x) { return !outside(x); });
    f.high =
        f.points >= f.games ? infinity : turning_point(std::max(f.elo, lowest), highest, outside);
    return f;
}
