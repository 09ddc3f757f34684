#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The destinations of the piece on `from`, filtered against its own king, as "e4 e3 ...".
std::string destinations(const struct board &brd, const char *from) {
    const coord pc = square(from);
    const coord king = find_king(&brd, (brd.tiles[pc.row][pc.col] & black_bit) ? 1 : 0);
    destination_list list;
    legal_moves(&brd, pc, &list, &king);
    std::string out;
    for (int i = 0; i < list.count; i++) {
        if (i) out += ' ';
        out += square_name(list.squares[i]);
    }
    return out;
}

constexpr const char *start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

} // namespace

TEST(MoveGeneration, StartingPositionOrder) {
    const struct board brd = board_from_fen(start);
    EXPECT_EQ(destinations(brd, "e2"), "e4 e3");
    EXPECT_EQ(destinations(brd, "b1"), "a3 c3");
    EXPECT_EQ(destinations(brd, "g1"), "f3 h3");
    EXPECT_EQ(destinations(brd, "g8"), "f6 h6");
    for (const char *piece : {"a1", "c1", "d1", "e1", "h8", "d8"})
        EXPECT_EQ(destinations(brd, piece), "") << piece;
}

TEST(MoveGeneration, SlidersWalkTheirLinesInFixedOrder) {
    const struct board rook = board_from_fen("8/8/8/8/3R4/8/8/K1k5 w - - 0 1");
    EXPECT_EQ(destinations(rook, "d4"), "e4 f4 g4 h4 c4 b4 a4 d3 d2 d1 d5 d6 d7 d8");
    const struct board queen = board_from_fen("7k/8/8/8/3Q4/8/8/K7 w - - 0 1");
    EXPECT_EQ(destinations(queen, "d4"),
              "e4 f4 g4 h4 c4 b4 a4 d3 d2 d1 d5 d6 d7 d8 e3 f2 g1 c5 b6 a7 e5 f6 g7 h8 c3 b2");
    const struct board knight = board_from_fen("7k/8/8/8/3N4/8/8/K7 w - - 0 1");
    EXPECT_EQ(destinations(knight, "d4"), "b5 f5 c6 e6 b3 f3 c2 e2");
    const struct board king = board_from_fen("7k/8/8/8/3K4/8/8/8 w - - 0 1");
    EXPECT_EQ(destinations(king, "d4"), "c5 d5 e5 c4 e4 c3 d3 e3");
}

TEST(MoveGeneration, SlidersStopAtTheFirstPieceAndTakeOnlyEnemies) {
    const struct board brd = board_from_fen("7k/8/8/3p4/1P1R2n1/8/3P4/K7 w - - 0 1");
    EXPECT_EQ(destinations(brd, "d4"), "e4 f4 g4 c4 d3 d5");
}

TEST(MoveGeneration, PinnedPiecesKeepToThePinningLine) {
    const struct board brd = board_from_fen("4r2k/8/8/8/8/4N3/8/4K3 w - - 0 1");
    EXPECT_EQ(destinations(brd, "e3"), ""); // a pinned knight cannot move
    const struct board rook = board_from_fen("4r2k/8/8/8/4R3/8/8/4K3 w - - 0 1");
    EXPECT_EQ(destinations(rook, "e4"), "e3 e2 e5 e6 e7 e8");
}

TEST(MoveGeneration, EnPassantIsOfferedOnlyRightAfterTheDoubleStep) {
    struct board brd = board_from_fen("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    move_piece(&brd, square("d7"), square("d5"));
    EXPECT_EQ(destinations(brd, "e5"), "e6 d6");
    move_piece(&brd, square("e1"), square("e2"));
    move_piece(&brd, square("e8"), square("e7"));
    EXPECT_EQ(destinations(brd, "e5"), "e6");
    // Taking en passant would uncover the rook's attack along the rank.
    const struct board pinned = board_from_fen("8/8/8/K2pP2r/8/8/8/7k w - d6 0 1");
    EXPECT_EQ(destinations(pinned, "e5"), "e6");
}

TEST(MoveGeneration, CastlingNeedsSafePassageAndUnmovedPieces) {
    EXPECT_EQ(destinations(board_from_fen("4k3/8/8/8/8/8/8/4K2R w K - 0 1"), "e1"),
              "d2 e2 f2 d1 f1 g1");
    // f1 attacked: no castling; only g1 attacked: the filter removes it.
    EXPECT_EQ(destinations(board_from_fen("4kr2/8/8/8/8/8/8/4K2R w K - 0 1"), "e1"), "d2 e2 d1");
    EXPECT_EQ(destinations(board_from_fen("4k1r1/8/8/8/8/8/8/4K2R w K - 0 1"), "e1"),
              "d2 e2 f2 d1 f1");
    // Queen side: b1 may be attacked, d1 may not.
    EXPECT_EQ(destinations(board_from_fen("1r2k3/8/8/8/8/8/8/R3K3 w Q - 0 1"), "e1"),
              "d2 e2 f2 d1 f1 c1");
    EXPECT_EQ(destinations(board_from_fen("3rk3/8/8/8/8/8/8/R3K3 w Q - 0 1"), "e1"), "e2 f2 f1");
    EXPECT_EQ(destinations(board_from_fen("r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1"), "e8"),
              "d8 f8 d7 e7 f7 c8 g8");
    // In check: never castle.
    EXPECT_EQ(destinations(board_from_fen("4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 1"), "e1"), "e2 d1 f1");
    // A rook that has moved (flag set by the missing right) spoils the pattern.
    EXPECT_EQ(destinations(board_from_fen("4k3/8/8/8/8/8/8/R3K2R w Q - 0 1"), "e1"),
              "d2 e2 f2 d1 f1 c1");
}

TEST(MoveGeneration, UnfilteredListsIgnoreTheKing) {
    const struct board brd = board_from_fen("4r2k/8/8/8/8/4N3/8/4K3 w - - 0 1");
    destination_list list;
    EXPECT_EQ(legal_moves(&brd, square("e3"), &list, nullptr), 8);
    struct board empty {};
    EXPECT_EQ(legal_moves(&empty, square("e3"), &list, nullptr), 0);
}
