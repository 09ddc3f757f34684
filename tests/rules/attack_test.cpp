#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "tests/support/board_builder.h"
#include "tests/support/literal_rules.h"

#include <gtest/gtest.h>

#include <random>

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
                // The slow way: substituted pieces of each kind on the square.
                const int expected = literal::king_threatened(&brd, &sq, colour);
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
