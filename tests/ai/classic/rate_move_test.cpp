// Scores of single moves whose value can be worked out by hand: mates at ply 1 and 2, the
// ascension loop, stalemate, the castling bonus, repetitions early in the game and the
// dead-end bounds.
#include "ai/classic/ai_settings.h"
#include "ai/classic/rate_move.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "tests/ai/classic/test_positions.h"

#include <gtest/gtest.h>

namespace {

struct rated {
    struct move mv;
    int8_t s;
    uint64_t a;
};

// Each test rates moves in its own game with its own settings.
class RateMove : public ::testing::Test {
  protected:
    game_state game{};
    ai_settings settings;

    void setup_live(const char *fen, uint32_t turn) { game = game_at(fen, turn); }
    rated rate(coord src, coord dst, uint8_t max_depth) const;
    uint32_t replies_after(coord src, coord dst) const;
};

rated RateMove::rate(coord src, coord dst, uint8_t max_depth) const {
    rated r{};
    r.mv.src = src;
    r.mv.dst = dst;
    search_state st = search_state_for(game, settings);
    st.max_depth = max_depth;
    r.s = rate_move(&r.mv, &game.board, game.game_status.turn, &st);
    r.a = st.a;
    EXPECT_EQ(st.depth, 0);
    return r;
}

// Legal moves of the side not to move after the move src-dst.
uint32_t RateMove::replies_after(coord src, coord dst) const {
    struct board temp = game.board;
    move_piece(&temp, src, dst);
    const uint8_t side = !game.game_status.turn;
    const coord king = find_king(&temp, side);
    uint32_t n = 0;
    destination_list list;
    for (uint8_t r = 0; r < board_size; r++)
        for (uint8_t c = 0; c < board_size; c++) {
            const uint8_t t = temp.tiles[r][c];
            if (t != 0 && ((t & black_bit) != 0) == (side != 0))
                n += legal_moves(&temp, coord{r, c}, &list, &king);
        }
    return n;
}

TEST_F(RateMove, DepthLimitZeroLeavesScoreZeroAndCountsNothing) {
    setup_live("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 10);
    const rated r = rate({6, 4}, {4, 4}, 0);
    EXPECT_EQ(r.s, -1);
    EXPECT_EQ(r.mv.score, 0);
    EXPECT_EQ(r.a, 0u);
}

TEST_F(RateMove, PlainMateAtPlyOneScoresExactlyBelowTheCutOff) {
    setup_live("7k/5Q2/6K1/8/8/8/8/8 w - - 0 50", 99);
    for (uint8_t depth : {1, 3}) {
        const rated r = rate({1, 5}, {1, 6}, depth); // Qf7-g7 mate
        EXPECT_EQ(r.mv.score, 2147483646);
        EXPECT_FALSE(r.mv.score > mate_threshold);
        EXPECT_EQ(r.mv.checkmate_found, 1);
        EXPECT_EQ(r.mv.staledraw, 0);
        EXPECT_EQ(r.a, 1u);
    }
}

TEST_F(RateMove, MateByCaptureAddsTheMaterial) {
    setup_live("r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 7);
    const rated r = rate({3, 7}, {1, 5}, 3); // Qh5xf7 mate
    EXPECT_EQ(r.mv.score, int64_t{2147483646} + 100);
    EXPECT_EQ(r.mv.checkmate_found, 1);
}

TEST_F(RateMove, OpponentsMateAtPlyTwo) {
    // After 1.f3 e5, 2.g4 lets Black mate with Qh4.
    setup_live("rnbqkbnr/pppp1ppp/8/4p3/8/5P2/PPPPP1PP/RNBQKBNR w KQkq e6 0 2", 3);
    const rated r = rate({6, 6}, {4, 6}, 2);
    // Pawn move 10, minus the best reply (the mate, 2147483647 / 2) at weight 1.
    EXPECT_EQ(r.mv.score, 10 - 1073741823);
    EXPECT_EQ(r.mv.checkmate_found, 2);
    EXPECT_EQ(r.mv.staledraw, 0);
}

TEST_F(RateMove, AscensionKeepsTheQueensScoreButTheBestPiece) {
    // b7-b8: the rook is worth 160 + 548; bishop and queen give check from b8 and score
    // 160 + 1 minus the mobility term (six king moves >> 1).
    setup_live("8/1P5p/8/4k3/8/8/8/7K w - - 0 40", 10);
    const rated r = rate({1, 1}, {0, 1}, 1);
    EXPECT_EQ(r.mv.ascend, type_rook);
    EXPECT_EQ(r.mv.score, 158);
}

TEST_F(RateMove, AscensionThatMatesAddsPieceAndMate) {
    // A back-rank mate; Black has pawns only, so the pawn move is worth 160.
    setup_live("7k/1P4pp/8/8/8/8/8/K7 w - - 0 40", 10);
    const rated r = rate({1, 1}, {0, 1}, 1);
    // Rook and queen both mate; the queen, last and at least as good, is chosen.
    EXPECT_EQ(r.mv.ascend, type_queen);
    EXPECT_EQ(r.mv.score, int64_t{160} + 994 + 2147483647);
    EXPECT_EQ(r.mv.checkmate_found, no_checkmate);
}

TEST_F(RateMove, StalemateAtPlyOneIsADraw) {
    setup_live("k7/8/1K6/8/8/8/8/2Q5 w - - 0 60", 99);
    const rated r = rate({7, 2}, {1, 2}, 3); // Qc1-c7 stalemates
    EXPECT_EQ(r.mv.score, 4000);
    EXPECT_EQ(r.mv.staledraw, 1);
    EXPECT_EQ(r.mv.checkmate_found, no_checkmate);
}

TEST_F(RateMove, CastlingBonusShrinksWithTheGame) {
    const char *fen = "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1";
    const coord e1{7, 4}, g1{7, 6};
    setup_live(fen, 4);
    EXPECT_EQ(rate(e1, g1, 1).mv.score, 500); // no mobility term before half-move 6
    setup_live(fen, 10);
    EXPECT_EQ(rate(e1, g1, 1).mv.score, 200 - static_cast<int64_t>(replies_after(e1, g1) >> 1));
    setup_live(fen, 21);
    EXPECT_EQ(rate(e1, g1, 1).mv.score, 100 - static_cast<int64_t>(replies_after(e1, g1) >> 1));
}

TEST_F(RateMove, RepetitionCountsFromTheFourthHalfMove) {
    const coord g1{7, 6}, f3{5, 5};
    for (uint32_t turn : {3u, 4u}) {
        setup_live("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", turn);
        struct board after = game.board;
        move_piece(&after, g1, f3);
        // Two earlier occurrences made by the side whose turn bit a first ply compares.
        for (int slot : {0, 5}) {
            game.game_status.last_moves.position[slot].board = after;
            game.game_status.last_moves.position[slot].turn = 1;
        }
        const rated r = rate(g1, f3, 1);
        EXPECT_EQ(r.mv.score, turn == 4 ? 6000 : 0) << turn;
        EXPECT_EQ(r.mv.staledraw, turn == 4 ? 1 : 0) << turn;
    }
}

TEST_F(RateMove, DeadEndBoundsAreStrict) {
    const char *start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const coord g1{7, 6}, f3{5, 5};
    // Ng1-f3 scores 0 at ply 1; the line goes on only while 0 > deadend + 548.
    settings.global_deadend_score = -548;
    setup_live(start, 3);
    EXPECT_EQ(rate(g1, f3, 2).a, 1u);
    settings.global_deadend_score = -549;
    EXPECT_EQ(rate(g1, f3, 2).a, 21u); // the 20 replies are rated
    // At ply 2 a quiet reply (0) goes on only while 0 < -deadend - 2 * 548.
    settings.global_deadend_score = -1096;
    EXPECT_EQ(rate(g1, f3, 3).a, 21u);
    settings.global_deadend_score = -1097;
    EXPECT_GT(rate(g1, f3, 3).a, 21u);
}

TEST_F(RateMove, LoneKingMakesChecksAndPawnMovesWorthMore) {
    // Black has a bare king: a check is worth 32767 and a pawn move 160.
    setup_live("7k/8/8/8/8/8/P7/R6K w - - 0 40", 4);
    EXPECT_EQ(rate({7, 0}, {0, 0}, 1).mv.score, 32767); // Ra1-a8+ (no mobility before 6)
    EXPECT_EQ(rate({6, 0}, {4, 0}, 1).mv.score, 160);
}

TEST(AscendValue, IsThePiecesMaterial) {
    EXPECT_EQ(ascend_value(type_knight), 305u);
    EXPECT_EQ(ascend_value(type_queen), 994u);
}

} // namespace

namespace {

// A stalemate met by the opponent's reply (ply 2) marks the move as leading to a draw; one
// met at ply 3 no longer does.
TEST_F(RateMove, StalemateMarksTheDrawFlagOnlyUpToPlyTwo) {
    // Rh3-b3 invites Qxb3, which leaves White's king on a1 without a move.
    setup_live("7k/8/8/3q4/8/7R/8/K7 w - - 0 40", 40);
    const rated invited = rate({5, 7}, {5, 1}, 2);
    EXPECT_EQ(invited.mv.staledraw, 1);
    // After a2-a3 Black's only move is h7-h6; then Qd4-b6 stalemates at ply 3.
    setup_live("k7/2K4p/8/7P/3Q4/8/P7/8 w - - 0 40", 40);
    const rated late = rate({6, 0}, {5, 0}, 3);
    EXPECT_EQ(late.mv.staledraw, 0);
}

} // namespace
