#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

TEST(BoardQueries, FindKingIgnoresFlagsAndReportsMissingKing) {
    struct board brd {};
    EXPECT_EQ(find_king(&brd, 0), no_square);
    brd.tiles[3][4] = type_king | black_bit | has_moved_flag;
    brd.tiles[2][2] = type_king | black_bit; // two kings: the one nearer a8 wins
    EXPECT_EQ(find_king(&brd, 1), (coord{2, 2}));
    EXPECT_EQ(find_king(&brd, 0), no_square);
}

TEST(BoardQueries, PieceCountCountsPawnsOfBothKindsAndAscendedPiecesButNoKings) {
    struct board brd = board_from_fen("4k3/1P5p/8/8/8/8/P7/Q3K2q w - - 0 1");
    brd.tiles[7][0] |= has_moved_flag; // a ascended queen that has moved
    uint8_t q = 9, r = 9, b = 9, n = 9, p = 9;
    piece_count(&brd, 0, &q, &r, &b, &n, &p);
    EXPECT_EQ(q, 1);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(p, 2); // a2 unmoved, b7 moved
    piece_count(&brd, 1, &q, &r, &b, &n, &p);
    EXPECT_EQ(q, 1);
    EXPECT_EQ(p, 1);
}

TEST(BoardQueries, StartingPositionHasThirtyTwoUnflaggedPieces) {
    struct board brd;
    set_starting_position(&brd);
    int pieces = 0;
    for (auto &row : brd.tiles)
        for (uint8_t tile : row) {
            if (tile) pieces++;
            EXPECT_EQ(tile & (has_moved_flag | en_passant_flag), 0);
        }
    EXPECT_EQ(pieces, 32);
    EXPECT_EQ(brd.tiles[0][4], 15);
    EXPECT_EQ(brd.tiles[7][3], 6);
    for (uint8_t side = 0; side <= 1; side++) {
        uint8_t q, r, b, n, p;
        piece_count(&brd, side, &q, &r, &b, &n, &p);
        EXPECT_EQ(q + r * 10 + b * 100 + n * 1000 + p * 10000, 82221);
    }
}

TEST(BoardQueries, MoveInListLooksOnlyAtTheCountedEntries) {
    const coord list[3] = {{1, 2}, {3, 4}, {5, 6}};
    EXPECT_TRUE(move_in_list(list, 2, 1, 2));
    EXPECT_TRUE(move_in_list(list, 2, 3, 4));
    EXPECT_FALSE(move_in_list(list, 2, 5, 6));
    EXPECT_FALSE(move_in_list(list, 0, 1, 2));
}
