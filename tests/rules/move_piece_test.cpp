#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/game_state.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

namespace {

// A game from the starting position: moves made in it keep the draw rules' counter.
struct LiveBoard : ::testing::Test {
    game_state game = new_game();
    struct board &board = game.board;
    game_status &status = game.game_status;
};

int at(const struct board &brd, const char *name) {
    const coord sq = square(name);
    return brd.tiles[sq.row][sq.col];
}

} // namespace

TEST_F(LiveBoard, PawnStepsSetAndClearTheEnPassantFlag) {
    status.moves_pawn_capture = 7;
    EXPECT_EQ(play_move(&game, square("e2"), square("e4")), 0);
    EXPECT_EQ(at(board, "e2"), 0);
    EXPECT_EQ(at(board, "e4"), 194);
    EXPECT_EQ(status.moves_pawn_capture, 0u);

    struct board knight_reply = board;
    move_piece(&knight_reply, square("g8"), square("f6"));
    EXPECT_EQ(at(knight_reply, "e4"), 130);
    EXPECT_EQ(status.moves_pawn_capture, 0u); // a scratch board leaves the counter

    play_move(&game, square("g8"), square("f6"));
    EXPECT_EQ(status.moves_pawn_capture, 1u);
    EXPECT_EQ(board, knight_reply);

    move_piece(&board, square("e4"), square("e5"));
    move_piece(&board, square("d7"), square("d5"));
    EXPECT_EQ(at(board, "d5"), 202);
    EXPECT_EQ(at(board, "e5"), 130);
}

TEST_F(LiveBoard, EnPassantRemovesThePawnBesideTheSource) {
    struct board brd = board_from_fen("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    move_piece(&brd, square("e5"), square("d6"));
    EXPECT_EQ(at(brd, "d5"), 0);
    EXPECT_EQ(at(brd, "d6"), 130);

    brd = board_from_fen("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1");
    move_piece(&brd, square("d4"), square("e3"));
    EXPECT_EQ(at(brd, "e4"), 0);
    EXPECT_EQ(at(brd, "e3"), 0x80 | 10);
}

TEST_F(LiveBoard, CastlingMovesTheRookAndCountsAsAQuietMove) {
    board = board_from_fen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 3 1");
    status.moves_pawn_capture = 3;
    struct board queen_side = board;
    play_move(&game, square("e1"), square("g1"));
    EXPECT_EQ(at(board, "g1"), 135);
    EXPECT_EQ(at(board, "f1"), 131);
    EXPECT_EQ(at(board, "e1") | at(board, "h1"), 0);
    EXPECT_EQ(status.moves_pawn_capture, 4u);

    move_piece(&queen_side, square("e1"), square("c1"));
    EXPECT_EQ(at(queen_side, "d1"), 131);
    EXPECT_EQ(at(queen_side, "a1"), 0);
    move_piece(&board, square("e8"), square("g8"));
    EXPECT_EQ(at(board, "f8"), 139);
}

TEST_F(LiveBoard, AscensionIsReportedAndAscendingKeepsColourAndFlags) {
    struct board brd = board_from_fen("1n2k3/P7/8/8/8/8/6p1/4K3 w - - 0 1");
    EXPECT_EQ(move_piece(&brd, square("a7"), square("b8")), 1);
    ascend_piece(&brd, square("b8"), type_queen);
    EXPECT_EQ(at(brd, "b8"), 134);
    EXPECT_EQ(move_piece(&brd, square("g2"), square("g1")), 1);
    ascend_piece(&brd, square("g1"), type_knight);
    EXPECT_EQ(at(brd, "g1"), 0x80 | 12);
    EXPECT_EQ(move_piece(&brd, square("e1"), square("d2")), 0);
}

TEST_F(LiveBoard, AKingBackOnItsSquareCanNoLongerCastle) {
    struct board brd = board_from_fen("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    move_piece(&brd, square("e1"), square("f1"));
    move_piece(&brd, square("f1"), square("e1"));
    EXPECT_EQ(at(brd, "e1"), 135);
    destination_list list;
    const coord king = square("e1");
    legal_moves(&brd, king, &list, &king);
    EXPECT_FALSE(move_in_list(list.squares, list.count, 7, 6));
}
