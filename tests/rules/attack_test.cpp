#include "rules/pieces.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The attack test done the slow way: put a rook, knight, bishop and queen of the defender's
// colour on the square and look for an enemy of the same kind among their destinations,
// after looking for an enemy king beside the square and enemy pawns in front of it.
int substitution_attack_test(const struct board &brd, coord sq, coord colour_square) {
    const uint8_t side = brd.tiles[colour_square.row][colour_square.col] & black_bit;
    const uint8_t enemy_king = type_king | (side ^ black_bit);
    for (int r = sq.row - 1; r <= sq.row + 1; r++)
        for (int c = sq.col - 1; c <= sq.col + 1; c++)
            if (on_board(r, c) && (brd.tiles[r][c] & piece_mask) == enemy_king) return 1;
    const int pawn_row = side ? sq.row + 1 : sq.row - 1;
    for (int c = sq.col - 1; c <= sq.col + 1; c += 2) {
        if (!on_board(pawn_row, c)) continue;
        const uint8_t tile = brd.tiles[pawn_row][c];
        if (tile && is_pawn(tile) && (tile & black_bit) != side) return 1;
    }
    for (uint8_t royal = type_rook; royal <= type_queen; royal++) {
        struct board temp = brd;
        temp.tiles[sq.row][sq.col] = royal | side;
        destination_list list;
        legal_moves(&temp, sq, &list, nullptr);
        for (int i = list.count - 1; i >= 0; i--) {
            const uint8_t tile = temp.tiles[list.squares[i].row][list.squares[i].col];
            if ((tile & type_mask) == royal && (tile & black_bit) != side) return 1;
        }
    }
    return 0;
}

} // namespace

TEST(Attack, AgreesWithTheSubstitutionTestOnRandomPositions) {
    std::mt19937 rng(20261207);
    constexpr uint8_t pieces[] = {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15};
    int attacked = 0;
    for (int n = 0; n < 3000; n++) {
        struct board brd {};
        const int count = 2 + static_cast<int>(rng() % 20);
        for (int i = 0; i < count; i++)
            brd.tiles[rng() % 8][rng() % 8] = pieces[rng() % sizeof pieces];
        const struct board before = brd;
        for (uint8_t r = 0; r < 8; r++)
            for (uint8_t c = 0; c < 8; c++) {
                const coord sq{r, c};
                const coord colour{static_cast<uint8_t>(rng() % 8),
                                   static_cast<uint8_t>(rng() % 8)};
                const int expected = substitution_attack_test(brd, sq, colour);
                ASSERT_EQ(king_threatened(&brd, &sq, colour), expected)
                    << "square " << square_name(sq) << " colour from " << square_name(colour)
                    << " in " << n;
                attacked += expected;
            }
        ASSERT_EQ(brd, before);
    }
    EXPECT_GT(attacked, 10000); // the positions exercise both answers
}

TEST(Attack, PawnsAttackOnlyDiagonallyForward) {
    const struct board brd = board_from_fen("8/8/3p1p2/4K3/8/8/8/7k w - - 0 1");
    const coord king = square("e5");
    EXPECT_EQ(king_threatened(&brd, &king, king), 1);
    const struct board ahead = board_from_fen("8/8/4p3/4K3/3p4/8/8/7k w - - 0 1");
    EXPECT_EQ(king_threatened(&ahead, &king, king), 0);
    const struct board black = board_from_fen("8/8/8/4k3/3P4/8/8/7K b - - 0 1");
    EXPECT_EQ(king_threatened(&black, &king, king), 1);
}

TEST(Attack, AnEmptySquareTakesItsColourFromTheGivenPiece) {
    const struct board brd = board_from_fen("4k3/8/8/8/8/8/8/r3K2R w - - 0 1");
    const coord a4 = square("a4");
    EXPECT_EQ(king_threatened(&brd, &a4, square("e1")), 1); // Black's rook attacks a4
    EXPECT_EQ(king_threatened(&brd, &a4, square("e8")), 0); // no White piece reaches it
    const coord missing = no_square;
    EXPECT_EQ(king_threatened(&brd, &missing, square("e1")), 0);
}
