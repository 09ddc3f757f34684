// The piece sets the search and perft carry from move to move must stay what counting the
// tiles gives, and the tiles what move_piece makes, for every kind of move: castling, en
// passant, two-square steps, captures and promotions.
#include "rules/bitboards.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "tests/ai/test_positions.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool same_sets(const board_sets &a, const board_sets &b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(BoardSets, MovesAndPromotionsKeepTilesAndSetsInStep) {
    int moves = 0;
    for (const fen_position &pos : position_pool()) {
        for (uint8_t side = 0; side <= 1; side++) {
            const coord king = find_king(&pos.board, side);
            for (uint8_t r = 0; r < board_size; r++)
                for (uint8_t c = 0; c < board_size; c++) {
                    const uint8_t t = pos.board.tiles[r][c];
                    if (t == 0 || ((t & black_bit) != 0) != (side != 0)) continue;
                    destination_list list;
                    const uint8_t n = legal_moves(&pos.board, coord{r, c}, &list, &king);
                    for (int k = 0; k < n; k++) {
                        struct board plain = pos.board, tracked = pos.board;
                        board_sets sets = sets_of(pos.board);
                        const int ascend = move_piece(&plain, coord{r, c}, list.squares[k]);
                        ASSERT_EQ(move_piece_tracked(&tracked, &sets, coord{r, c}, list.squares[k]),
                                  ascend);
                        ASSERT_EQ(tracked, plain);
                        ASSERT_TRUE(same_sets(sets, sets_of(tracked)));
                        if (ascend) {
                            ascend_piece(&plain, list.squares[k], type_knight);
                            ascend_piece_tracked(&tracked, &sets, list.squares[k], type_knight);
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
