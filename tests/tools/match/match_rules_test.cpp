// The match tool's referee and its Elo figures.
#include "adjudication.h"
#include "elo/elo.h"
#include "rules/notation/position_replay.h"
#include "rules/notation/words.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

game_history history_at(const std::string &fen) {
    fen_position pos{};
    std::string problem;
    EXPECT_TRUE(read_start_fen(fen, &pos, &problem)) << problem;
    return history_from(game_from_start(pos));
}

void play(game_history *h, const std::string &moves) {
    for (const std::string &m : split_words(moves)) {
        std::string problem;
        ASSERT_TRUE(play_in_history(h, m, &problem)) << problem;
    }
}

game_end end_of(const std::string &fen, const std::string &moves = "") {
    game_history h = history_at(fen);
    play(&h, moves);
    return judge(h, 1000);
}

} // namespace

TEST(MatchReferee, EndsByTheRulesOfChess) {
    game_history h = new_history();
    play(&h, "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1");
    EXPECT_EQ(judge(h, 1000), game_end::none) << "the start position twice only";
    play(&h, "f6g8");
    EXPECT_EQ(judge(h, 1000), game_end::repetition);
    EXPECT_EQ(judge(new_history(), 0), game_end::move_cap);
    // After 1. e4 no black pawn can take en passant, so the position recurs unchanged.
    h = new_history();
    play(&h, "e2e4 g8f6 g1f3 f6g8 f3g1 g8f6 g1f3 f6g8");
    EXPECT_EQ(judge(h, 1000), game_end::none);
    play(&h, "f3g1");
    EXPECT_EQ(judge(h, 1000), game_end::repetition);

    EXPECT_EQ(end_of("4k3/8/8/8/8/8/8/R3K3 w - - 99 80", "a1a2"), game_end::fifty_moves);
    EXPECT_EQ(end_of("4k3/8/8/8/8/8/P7/R3K3 w - - 99 80", "a2a3"), game_end::none);
    EXPECT_EQ(end_of("k7/1Q6/1K6/8/8/8/8/8 b - - 0 80"), game_end::checkmate);
    EXPECT_EQ(end_of("k7/2Q5/1K6/8/8/8/8/8 b - - 0 80"), game_end::stalemate);
}

TEST(MatchReferee, TooLittleMaterialToMate) {
    EXPECT_EQ(end_of("4k3/8/8/8/8/8/8/4K3 w - - 0 50"), game_end::dead_position);
    EXPECT_EQ(end_of("4k3/8/8/8/8/8/8/2B1K3 w - - 0 50"), game_end::dead_position);
    EXPECT_EQ(end_of("4k3/8/8/8/8/8/8/1N2K3 w - - 0 50"), game_end::dead_position);
    // Bishops on squares of one colour (c1 and f8 are both dark) cannot mate.
    EXPECT_EQ(end_of("4kb2/8/8/8/8/8/8/2B1K3 w - - 0 50"), game_end::dead_position);
    EXPECT_EQ(end_of("4k1b1/8/8/8/8/8/8/2B1K3 w - - 0 50"), game_end::none);
    EXPECT_EQ(end_of("4k3/8/8/8/8/8/8/1NN1K3 w - - 0 50"), game_end::none);
    EXPECT_EQ(end_of("4k3/8/8/8/8/8/4P3/4K3 w - - 0 50"), game_end::none);
}

TEST(MatchElo, ScoresTurnIntoEloWithA95PercentInterval) {
    const elo_estimate even = estimate_elo({10, 0, 10});
    EXPECT_TRUE(even.finite);
    EXPECT_NEAR(even.elo, 0, 1e-9);
    EXPECT_NEAR(even.high, -even.low, 1e-6);
    // 15 of 20 games: score 0.75, 400 log10(3) = 190.8; the standard error of the mean
    // score is sqrt(0.1875 / 20) = 0.0968, so the interval runs from 0.560 to 0.940.
    const elo_estimate ahead = estimate_elo({15, 0, 5});
    EXPECT_NEAR(ahead.elo, 190.8, 0.1);
    EXPECT_NEAR(ahead.low, -400 * std::log10(1 / 0.5602 - 1), 1);
    EXPECT_NEAR(ahead.high, -400 * std::log10(1 / 0.9398 - 1), 1);
    // Draws narrow the interval.
    const elo_estimate drawn = estimate_elo({5, 10, 5});
    EXPECT_LT(drawn.high - drawn.low, even.high - even.low);
    // Every game lost: only a bound, from the 5% chance of 20 losses in a row.
    const elo_estimate swept = estimate_elo({0, 0, 20});
    EXPECT_FALSE(swept.finite);
    EXPECT_NEAR(swept.high, -400 * std::log10(1 / (1 - std::pow(0.05, 1.0 / 20)) - 1), 1e-6);
}
