#include "game/review/review_math.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double mate_centipawns = 100000;
constexpr double curve_slope = 0.00368208;
constexpr double inaccuracy_from = 5, mistake_from = 10, blunder_from = 15;
constexpr double least_window = 2, most_window = 8;
constexpr double least_weight = 0.5, most_weight = 12;

double standard_deviation(const double *values, size_t count) {
    double mean = 0;
    for (size_t i = 0; i < count; i++) mean += values[i];
    mean /= static_cast<double>(count);
    double variance = 0;
    for (size_t i = 0; i < count; i++) variance += (values[i] - mean) * (values[i] - mean);
    return std::sqrt(variance / static_cast<double>(count));
}

} // namespace

review_score flipped(review_score s) {
    switch (s.type) {
    case review_score::kind::centipawns:
        return {s.type, -s.value};
    case review_score::kind::mating:
        return {review_score::kind::mated, s.value};
    case review_score::kind::mated:
        return {review_score::kind::mating, s.value};
    }
    return s;
}

double score_centipawns(review_score s) {
    switch (s.type) {
    case review_score::kind::centipawns:
        return s.value;
    case review_score::kind::mating:
        return mate_centipawns;
    case review_score::kind::mated:
        return -mate_centipawns;
    }
    return 0;
}

double win_percent(review_score s) {
    return 50 + 50 * (2 / (1 + std::exp(-curve_slope * score_centipawns(s))) - 1);
}

move_class class_of_loss(double win_loss) {
    if (win_loss >= blunder_from) return move_class::blunder;
    if (win_loss >= mistake_from) return move_class::mistake;
    if (win_loss >= inaccuracy_from) return move_class::inaccuracy;
    return move_class::good;
}

double move_accuracy(double win_loss) {
    return std::clamp(103.1668 * std::exp(-0.04354 * win_loss) - 3.1669, 0.0, 100.0);
}

move_judgement judge_move(review_score before, review_score after, bool best_played) {
    move_judgement j;
    j.win_loss = std::max(0.0, win_percent(before) - win_percent(after));
    j.cp_loss = std::clamp(score_centipawns(before) - score_centipawns(after), 0.0, most_cp_loss);
    if (best_played) return j;
    j.verdict = class_of_loss(j.win_loss);
    const bool mate_missed =
        before.type == review_score::kind::mating && after.type != review_score::kind::mating;
    const bool mate_allowed =
        before.type != review_score::kind::mated && after.type == review_score::kind::mated;
    if ((mate_missed || mate_allowed) && j.verdict < move_class::mistake)
        j.verdict = move_class::mistake;
    return j;
}

side_figures game_accuracy(const std::vector<double> &white_win, bool white_first) {
    side_figures out;
    const size_t positions = white_win.size();
    if (positions < 2) return out;
    const size_t window = static_cast<size_t>(
        std::clamp(static_cast<double>(positions / 10), least_window, most_window));
    // One weight a move: the first moves borrow the first whole window.
    std::vector<double> weights;
    const size_t span = std::min(window, positions);
    for (size_t i = 0; i + 2 < span; i++)
        weights.push_back(standard_deviation(white_win.data(), span));
    for (size_t i = 0; i + span <= positions; i++)
        weights.push_back(standard_deviation(white_win.data() + i, span));
    double weighted[2] = {0, 0}, weight_sum[2] = {0, 0}, inverse_sum[2] = {0, 0};
    int moves[2] = {0, 0};
    for (size_t i = 0; i + 1 < positions; i++) {
        const bool white = (i % 2 == 0) == white_first;
        const int side = white ? 0 : 1;
        const double before = white ? white_win[i] : 100 - white_win[i];
        const double after = white ? white_win[i + 1] : 100 - white_win[i + 1];
        const double accuracy = move_accuracy(std::max(0.0, before - after));
        const double weight = std::clamp(weights[i], least_weight, most_weight);
        weighted[side] += accuracy * weight;
        weight_sum[side] += weight;
        // As lichess does: an accuracy under 1 counts as 1, so one lost move does not zero it.
        inverse_sum[side] += 1 / std::max(1.0, accuracy);
        moves[side]++;
    }
    for (int side = 0; side < 2; side++)
        if (moves[side] > 0)
            out.accuracy[side] =
                (weighted[side] / weight_sum[side] + moves[side] / inverse_sum[side]) / 2;
    return out;
}
