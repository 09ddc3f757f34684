// A root move rated through its replies (listed, rated one by one, put together again, as
// the parallel search does) must give what rating it in one go gives: the same score,
// flags, material balance and count of positions, also with mates found below the replies
// and with moves that ascend (rated whole).
#include "ai/classic/ai_settings.h"
#include "ai/classic/rate_move.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "tests/ai/classic/test_positions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct rating {
    struct move mv;
    int8_t s;
    uint64_t a;
};

rating rate_whole(const game_state &game, const struct move &root, search_state st) {
    rating r{root, 0, 0};
    r.s = rate_move(&r.mv, &game.board, game.game_status.turn, &st);
    r.a = st.a;
    return r;
}

// Listed replies rated in reverse order, as another thread may well finish them.
rating rate_split(const game_state &game, const struct move &root, const search_state &st) {
    reply_split split;
    if (!split_replies(root, &game.board, game.game_status.turn, st, &split))
        return rate_whole(game, root, st);
    std::vector<reply_rating> ratings(split.replies.size());
    for (int k = static_cast<int>(split.replies.size()) - 1; k >= 0; k--) {
        search_state worker = st;
        rate_split_reply(split, k, &worker, &ratings[k]);
    }
    search_state collector = st;
    rating r{root, 0, 0};
    r.s = rate_move_from_replies(&r.mv, &game.board, game.game_status.turn, &collector, split,
                                 ratings.data());
    r.a = collector.a;
    return r;
}

void expect_same_for_every_root_move(const game_state &game, uint8_t depth,
                                     const std::string &what) {
    const ai_settings settings;
    search_state st = search_state_for(game, settings);
    st.max_depth = depth;
    const coord king = find_king(&game.board, game.game_status.turn);
    const uint8_t colour = game.game_status.turn ? black_bit : 0;
    for (uint8_t row = 0; row < board_size; row++)
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = game.board.tiles[row][col];
            if (tile == 0 || (tile & black_bit) != colour) continue;
            destination_list list;
            const uint8_t n = legal_moves(&game.board, coord{row, col}, &list, &king);
            for (int k = 0; k < n; k++) {
                struct move root {};
                root.src = coord{row, col};
                root.dst = list.squares[k];
                const rating whole = rate_whole(game, root, st);
                const rating split = rate_split(game, root, st);
                const std::string where = what + " depth " + std::to_string(depth) + " move " +
                                          std::to_string(row * 8 + col) + "-" +
                                          std::to_string(root.dst.row * 8 + root.dst.col);
                ASSERT_EQ(split.mv.score, whole.mv.score) << where;
                ASSERT_EQ(split.mv.ascend, whole.mv.ascend) << where;
                ASSERT_EQ(split.mv.checkmate_found, whole.mv.checkmate_found) << where;
                ASSERT_EQ(split.mv.staledraw, whole.mv.staledraw) << where;
                ASSERT_EQ(split.s, whole.s) << where;
                ASSERT_EQ(split.a, whole.a) << where;
            }
        }
}

TEST(SplitRating, PutTogetherFromTheRepliesEqualsOneGo) {
    const std::vector<fen_position> pool = position_pool();
    for (size_t i = 0; i < pool.size(); i += 3) {
        for (uint32_t turn : {3u, 10u}) {
            const game_state game = game_from_position(pool[i], turn);
            for (uint8_t depth = 1; depth <= 3; depth++)
                expect_same_for_every_root_move(game, depth, "pool " + std::to_string(i));
        }
    }
}

TEST(SplitRating, MatesAmongTheRepliesAndAscensions) {
    // Mates within a few plies for either side, a back-row mate, and a White pawn on the
    // seventh row that may ascend with or without capturing.
    const char *fens[] = {
        "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3",
        "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4",
        "1n2k3/P7/8/8/8/8/6q1/4K3 w - - 0 1",
        "6k1/5ppp/8/8/8/8/r4PPP/6K1 w - - 0 1",
    };
    for (const char *fen : fens) {
        for (uint32_t turn : {3u, 20u}) {
            const game_state game = game_at(fen, turn);
            for (uint8_t depth = 1; depth <= 4; depth++)
                expect_same_for_every_root_move(game, depth, fen);
        }
    }
}

} // namespace
