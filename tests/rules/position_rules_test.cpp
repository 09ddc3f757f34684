#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "rules/position_rules.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

namespace {

// Each test judges positions against its own game's history and counter.
struct PositionRules : ::testing::Test {
    game_state game{};
    game_status &status = game.game_status;

    int judge(const char *fen, uint8_t depth = 0) {
        const fen_position pos = position_from_fen(fen);
        return check_stale(&status, &pos.board, find_king(&pos.board, pos.turn), depth);
    }
    int judge(const struct board &brd, coord king, uint8_t depth) {
        return check_stale(&status, &brd, king, depth);
    }
    void log(const struct board &brd, uint8_t turn) {
        game.board = brd;
        status.turn = turn;
        log_move(&game);
    }
};

constexpr const char *mated = "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1";
constexpr const char *stalemated = "7k/5Q2/8/8/8/8/8/6K1 b - - 0 1";
constexpr const char *in_check = "6k1/5ppp/8/8/8/8/8/R5K1 b - - 0 1";
constexpr const char *checked = "4k3/8/8/8/8/8/8/4R1K1 b - - 0 1";

} // namespace

TEST_F(PositionRules, CheckMateAndStalemateCodes) {
    EXPECT_EQ(judge(mated), stale_checkmate);
    EXPECT_EQ(judge(stalemated), stale_stalemate);
    EXPECT_EQ(judge(checked), stale_check);
    EXPECT_EQ(judge(in_check), stale_nothing);
    // The only piece that can move stands on h1, the last square of the scan.
    EXPECT_EQ(judge("k7/8/1Q6/8/8/8/8/7K b - - 0 1"), stale_stalemate);
    EXPECT_EQ(judge("k7/8/8/8/8/8/2q5/K6R w - - 0 1"), stale_nothing);
}

TEST_F(PositionRules, TheMoveCounterComesBeforeCheckAndMate) {
    status.moves_pawn_capture = 50;
    EXPECT_EQ(judge(mated), stale_checkmate);
    status.moves_pawn_capture = 51;
    EXPECT_EQ(judge(mated), stale_over_50);
    EXPECT_EQ(judge(checked), stale_over_50);
    status.moves_pawn_capture = 75;
    EXPECT_EQ(judge(stalemated), stale_over_50);
    status.moves_pawn_capture = 76;
    EXPECT_EQ(judge(stalemated), stale_over_75);
    const fen_position pos = position_from_fen(mated);
    EXPECT_EQ(check_and_mobility(&pos.board, find_king(&pos.board, 1)), stale_checkmate);
}

TEST_F(PositionRules, RepetitionCountsLiveOccurrencesAndSearchedMovesByTurn) {
    const struct board brd = board_from_fen(checked);
    const struct board other = board_from_fen(in_check);
    const coord king = find_king(&brd, 1);
    EXPECT_EQ(judge(brd, king, 0), stale_check); // an all-zero history matches nothing

    log(brd, 1);
    log(other, 0);
    log(brd, 1);
    EXPECT_EQ(judge(brd, king, 0), stale_check);      // two occurrences are not enough live
    EXPECT_EQ(judge(brd, king, 1), stale_repetition); // two slots written by Black
    EXPECT_EQ(judge(brd, king, 2), stale_check);      // depth 2 wants White's slots
    EXPECT_EQ(judge(brd, king, 3), stale_check);      // no test beyond ply 2
    log(brd, 0);
    EXPECT_EQ(judge(brd, king, 0), stale_repetition);
    EXPECT_EQ(judge(brd, king, no_repetition_test), stale_check);
}

TEST_F(PositionRules, TheHistoryRingKeepsTheLastSixteenPositions) {
    const struct board brd = board_from_fen(checked);
    const coord king = find_king(&brd, 1);
    log(brd, 0);
    log(brd, 0);
    struct board filler = board_from_fen(in_check);
    for (int i = 0; i < 14; i++) log(filler, 1);
    EXPECT_EQ(status.last_moves.index, 0);
    EXPECT_EQ(judge(brd, king, 2), stale_repetition);
    log(filler, 1); // overwrites the oldest slot, the first of the two
    EXPECT_EQ(judge(brd, king, 2), stale_check);
}
