// The fast move generator, attack test and position test against their plain transcriptions,
// over a pool of positions: same destinations in the same order, same answers.
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_context.h"
#include "rules/move_generation.h"
#include "rules/position_rules.h"
#include "tests/ai/classic/test_positions.h"
#include "tests/support/literal_rules.h"

#include <gtest/gtest.h>

namespace {

std::string describe(const fen_position &pos) {
    return format_fen(pos);
}

TEST(RulesMatchReference, DestinationsAndOrder) {
    for (const fen_position &pos : position_pool()) {
        for (uint8_t side = 0; side <= 1; side++) {
            const coord king = find_king(&pos.board, side);
            for (const coord sq : side_squares(pos.board, side)) {
                destination_list fast, ref;
                for (const coord *king_pos : {&king, static_cast<const coord *>(nullptr)}) {
                    const uint8_t n = legal_moves(&pos.board, sq, &fast, king_pos);
                    ASSERT_EQ(n, literal::legal_moves(&pos.board, sq, ref.squares, king_pos))
                        << describe(pos) << " square " << int(sq.row) << "," << int(sq.col);
                    for (int k = 0; k < n; k++)
                        ASSERT_EQ(fast.squares[k], ref.squares[k]) << describe(pos);
                }
            }
        }
    }
}

TEST(RulesMatchReference, MoveContextGivesTheSameDestinationsAndCount) {
    for (const fen_position &pos : position_pool()) {
        for (uint8_t side = 0; side <= 1; side++) {
            const coord king = find_king(&pos.board, side);
            move_context ctx;
            prepare_move_context(&ctx, &pos.board, king);
            EXPECT_EQ(ctx.in_check, literal::king_threatened(&pos.board, &king, king) != 0);
            uint32_t total = 0;
            for (const coord sq : side_squares(pos.board, side)) {
                destination_list fast, ref;
                const uint8_t n = legal_moves_in(ctx, sq, &fast);
                ASSERT_EQ(n, literal::legal_moves(&pos.board, sq, ref.squares, &king))
                    << describe(pos) << " square " << int(sq.row) << "," << int(sq.col);
                for (int k = 0; k < n; k++)
                    ASSERT_EQ(fast.squares[k], ref.squares[k]) << describe(pos);
                total += n;
            }
            EXPECT_EQ(count_legal_moves(ctx), total) << describe(pos);
        }
    }
}

TEST(RulesMatchReference, AttackedSquares) {
    for (const fen_position &pos : position_pool()) {
        for (uint8_t side = 0; side <= 1; side++) {
            const coord king = find_king(&pos.board, side);
            for (uint8_t r = 0; r < board_size; r++)
                for (uint8_t c = 0; c < board_size; c++) {
                    const coord sq{r, c};
                    ASSERT_EQ(king_threatened(&pos.board, &sq, king),
                              literal::king_threatened(&pos.board, &sq, king))
                        << describe(pos) << " square " << int(r) << "," << int(c);
                }
        }
    }
}

TEST(RulesMatchReference, PositionTestWithHistoryAndCounters) {
    const std::vector<fen_position> pool = position_pool();
    for (size_t i = 0; i < pool.size(); i++) {
        // The history holds this position and the ones before it, each repeated: four times
        // (a repetition at every depth) for even i, twice (one short of it) for odd i.
        game_status status{};
        const size_t repeats = i % 2 == 0 ? 4 : 2;
        for (size_t h = 0; h < history_slots && h / repeats <= i; h++) {
            const fen_position &earlier = pool[i - h / repeats];
            status.last_moves.position[h].board = earlier.board;
            status.last_moves.position[h].turn = static_cast<uint8_t>(h & 1);
        }
        for (uint32_t counter : {0u, 50u, 51u, 75u, 76u}) {
            status.moves_pawn_capture = counter;
            for (uint8_t side = 0; side <= 1; side++) {
                const coord king = find_king(&pool[i].board, side);
                for (uint8_t depth : {0, 1, 2, 3, 255})
                    ASSERT_EQ(check_stale(&status, &pool[i].board, king, depth),
                              literal::check_stale(&status, &pool[i].board, king, depth))
                        << describe(pool[i]) << " depth " << int(depth);
            }
        }
    }
}

} // namespace
