// The piece sets the search and perft carry from move to move must stay what counting the
// tiles gives, and the tiles what move_piece makes, for every kind of move: castling, en
// passant, two-square steps, captures and ascensions. The self-check filter that makes a
// move on the sets must answer as the plain one does.
#include "rules/board_queries.h"
#include "rules/fast/bitboards.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "tests/ai/classic/test_positions.h"
#include "tests/support/literal_rules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool same_sets(const board_sets &a, const board_sets &b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(BoardSets, MovesAndAscensionsKeepTilesAndSetsInStep) {
    int moves = 0;
    for (const fen_position &pos : position_pool()) {
        for (uint8_t side = 0; side <= 1; side++) {
            const coord king = find_king(&pos.board, side);
            for (const coord sq : side_squares(pos.board, side)) {
                destination_list list;
                const uint8_t n = legal_moves(&pos.board, sq, &list, &king);
                for (int k = 0; k < n; k++) {
                    struct board plain = pos.board, tracked = pos.board;
                    board_sets sets = sets_of(pos.board);
                    const int ascend = move_piece(&plain, sq, list.squares[k]);
                    ASSERT_EQ(move_piece(&tracked, sq, list.squares[k], &sets), ascend);
                    ASSERT_EQ(tracked, plain);
                    ASSERT_TRUE(same_sets(sets, sets_of(tracked)));
                    if (ascend) {
                        ascend_piece(&plain, list.squares[k], type_knight);
                        ascend_piece(&tracked, list.squares[k], type_knight, &sets);
                        ASSERT_EQ(tracked, plain);
                        ASSERT_TRUE(same_sets(sets, sets_of(tracked)));
                    }
                    moves++;
                }
            }
        }
    }
    EXPECT_GT(moves, 1000);
}

} // namespace

namespace {

// With a king square that does not hold the piece's own king (another square to keep safe,
// as a caller may ask), every destination is tested by making the move on the sets: the
// same answers as making it on a board copy and testing that square the plain way.
TEST(BoardSets, SelfCheckFilterForAnySquareMatchesThePlainTest) {
    const coord squares[] = {{3, 3}, {4, 4}, {0, 4}, {7, 4}, {2, 6}};
    int compared = 0;
    for (const fen_position &pos : position_pool()) {
        for (uint8_t side = 0; side <= 1; side++) {
            const coord enemy_king = find_king(&pos.board, side ? 0 : 1);
            for (const coord sq : side_squares(pos.board, side)) {
                for (const coord &keep : squares) {
                    for (const coord *king_pos : {&keep, &enemy_king}) {
                        destination_list fast, ref;
                        const uint8_t n = legal_moves(&pos.board, sq, &fast, king_pos);
                        ASSERT_EQ(n, literal::legal_moves(&pos.board, sq, ref.squares, king_pos))
                            << format_fen(pos) << " square " << int(sq.row) << "," << int(sq.col);
                        for (int k = 0; k < n; k++)
                            ASSERT_EQ(fast.squares[k], ref.squares[k]) << format_fen(pos);
                        compared++;
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 1000);
}

} // namespace
