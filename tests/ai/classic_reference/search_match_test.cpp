// The rating search against the plain computer player: every field of every root move's
// rating, the returned balance and the count of rated positions.
#include "ai/classic/ai_settings.h"
#include "ai/classic/rate_move.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "tests/ai/classic_reference/literal_ai.h"
#include "tests/ai/classic/test_positions.h"

#include <gtest/gtest.h>

namespace {

void expect_same_ratings(const fen_position &pos, uint32_t turn, uint8_t depth,
                         const ai_settings &settings = {}) {
    game_state game = game_from_position(pos, turn);
    const struct board &board = game.board;
    const coord king = find_king(&board, pos.turn);
    const uint8_t colour = pos.turn ? black_bit : 0;
    destination_list list;
    for (uint8_t r = 0; r < board_size; r++)
        for (uint8_t c = 0; c < board_size; c++) {
            const uint8_t t = board.tiles[r][c];
            if (t == 0 || (t & black_bit) != colour) continue;
            const uint8_t n = legal_moves(&board, coord{r, c}, &list, &king);
            for (int k = 0; k < n; k++) {
                struct move fast {
                }, ref{};
                fast.src = ref.src = coord{r, c};
                fast.dst = ref.dst = list.squares[k];
                search_state fs = search_state_for(game, settings);
                fs.max_depth = depth;
                const int8_t s_fast = rate_move(&fast, &board, pos.turn, &fs);
                const int8_t s_ref =
                    literal::rate_move_alone(&game, settings, &ref, &board, pos.turn, depth);
                const std::string where = format_fen(pos) + " move " + std::to_string(r) +
                                          std::to_string(c) + "-" + std::to_string(fast.dst.row) +
                                          std::to_string(fast.dst.col);
                ASSERT_EQ(fast.score, ref.score) << where;
                ASSERT_EQ(fast.ascend, ref.ascend) << where;
                ASSERT_EQ(fast.checkmate_found, ref.checkmate_found) << where;
                ASSERT_EQ(fast.staledraw, ref.staledraw) << where;
                ASSERT_EQ(s_fast, s_ref) << where;
                ASSERT_EQ(fs.a, literal::analysed_count()) << where;
                ASSERT_EQ(fs.depth, 0) << where;
            }
        }
}

TEST(SearchMatchesReference, EveryRootMoveAtSeveralDepthsAndTurns) {
    const std::vector<fen_position> pool = position_pool();
    for (size_t i = 0; i < pool.size(); i += 6) {
        expect_same_ratings(pool[i], 10, 1);
        expect_same_ratings(pool[i], 3, 2);
    }
    for (size_t i = 0; i < pool.size(); i += 37) expect_same_ratings(pool[i], 20, 3);
}

TEST(SearchMatchesReference, UnusualDeadEndSettings) {
    const std::vector<fen_position> pool = position_pool();
    ai_settings settings;
    settings.global_deadend_score = -5000;
    settings.deadend_limit = 100;
    for (size_t i = 1; i < pool.size(); i += 9) expect_same_ratings(pool[i], 30, 2, settings);
}

} // namespace
