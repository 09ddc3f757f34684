// The review's figures on a case worked out by hand, and the rules that lift a move's class.
#include "game/review/review_math.h"

#include <gtest/gtest.h>

namespace {

review_score cp(int value) {
    return {review_score::kind::centipawns, value};
}

// Three moves from an even start: White drops to -2.00 (a 17.6-point loss), Black lets
// half a pawn back (4.2 points: no mark), White falls to -9.00 (33.0 points). The window
// is 2 positions (a tenth of 4, at least 2), so each weight is half the Win% step.
TEST(ReviewMath, ThreeMoveGame) {
    const review_score white_view[] = {cp(0), cp(-200), cp(-150), cp(-900)};
    std::vector<double> win;
    for (review_score s : white_view) win.push_back(win_percent(s));
    EXPECT_NEAR(win[1], 32.3788, 1e-3);
    EXPECT_NEAR(win[3], 3.5098, 1e-3);

    const move_judgement first = judge_move(white_view[0], white_view[1], false);
    const move_judgement second = judge_move(flipped(white_view[1]), flipped(white_view[2]), false);
    EXPECT_NEAR(first.win_loss, 17.6212, 1e-3);
    EXPECT_EQ(first.verdict, move_class::blunder);
    EXPECT_EQ(first.cp_loss, 200);
    EXPECT_EQ(second.verdict, move_class::good);
    EXPECT_EQ(second.cp_loss, 50); // Black's +2.00 down to +1.50
    EXPECT_NEAR(move_accuracy(first.win_loss), 44.7334, 1e-3);

    const side_figures figures = game_accuracy(win, true);
    // White: accuracies 44.73 (weight 8.81) and 21.33 (weight 12, clamped from 14.5);
    // weighted mean 31.23, harmonic mean 28.90.
    EXPECT_NEAR(figures.accuracy[0], 30.0619, 1e-3);
    EXPECT_NEAR(figures.accuracy[1], 82.9308, 1e-3);
}

TEST(ReviewMath, ClassesAndMates) {
    EXPECT_EQ(class_of_loss(4.99), move_class::good);
    EXPECT_EQ(class_of_loss(5), move_class::inaccuracy);
    EXPECT_EQ(class_of_loss(10), move_class::mistake);
    EXPECT_EQ(class_of_loss(15), move_class::blunder);
    const review_score mates_in_2{review_score::kind::mating, 2};
    EXPECT_EQ(win_percent(mates_in_2), 100);
    EXPECT_EQ(win_percent(flipped(mates_in_2)), 0);
    // A mate let go for a won ending loses few points, yet is a mistake; so is allowing one.
    EXPECT_EQ(judge_move(mates_in_2, cp(800), false).verdict, move_class::mistake);
    EXPECT_EQ(judge_move(cp(-700), flipped(mates_in_2), false).verdict, move_class::mistake);
    // The loss in centipawns is capped, and the player's own choice is not marked.
    EXPECT_EQ(judge_move(cp(300), flipped(mates_in_2), false).cp_loss, 1000);
    EXPECT_EQ(judge_move(cp(300), cp(-300), true).verdict, move_class::good);
}

} // namespace
