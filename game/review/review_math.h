// The figures of a review: winning chances on lichess's published curve, each move's loss
// and class, its accuracy, and each side's accuracy and average centipawn loss for the game.
// Pure arithmetic, so that the tests can check it against figures worked out by hand.
#pragma once

#include <cstdint>
#include <vector>

// An evaluation from one side's view.
struct review_score {
    enum class kind : uint8_t { centipawns, mating, mated };
    kind type = kind::centipawns;
    int value = 0; // centipawns; moves to mate (0: mated now) for `mating` and `mated`
    friend bool operator==(review_score, review_score) = default;
};

// The same evaluation from the other side's view.
review_score flipped(review_score s);

// Centipawns, a mate counted as 1000 pawns either way.
double score_centipawns(review_score s);

// Win% = 50 + 50 * (2 / (1 + exp(-0.00368208 * centipawns)) - 1).
double win_percent(review_score s);

enum class move_class : uint8_t { good, inaccuracy, mistake, blunder };

// The class of a move that lost `win_loss` points of Win%: from 5, 10 and 15 points.
move_class class_of_loss(double win_loss);

// 103.1668 * exp(-0.04354 * loss) - 3.1669, clamped to 0-100.
double move_accuracy(double win_loss);

// A move judged from its mover's view: the evaluations before and after it.
struct move_judgement {
    double win_loss = 0; // points of Win%, never below 0
    double cp_loss = 0;  // centipawns, capped at 1000
    move_class verdict = move_class::good;
};

// `best_played`: the move is the one the player found best, so that a search that scores
// the next position a little lower does not mark the move it chose itself. A move that
// lets a forced mate go, or lets the opponent have one, is at least a mistake.
move_judgement judge_move(review_score before, review_score after, bool best_played);

constexpr double most_cp_loss = 1000;

// Each side's accuracy for the game, as lichess computes it: the mean of the move
// accuracies weighted by Win%'s volatility (its standard deviation in a sliding window of
// a tenth of the game, 2 to 8 positions, each weight 0.5 to 12) and their harmonic mean.
// `white_win` holds White's Win% in every position, the start included; `white_first`
// says who made the first move. A side without a move gets -1.
struct side_figures {
    double accuracy[2] = {-1, -1}; // White's, Black's
};
side_figures game_accuracy(const std::vector<double> &white_win, bool white_first);
