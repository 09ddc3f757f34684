#include "strong_test_support.h"
#include "rules/move_piece.h"
#include "rules/notation/fen.h"
#include "rules/position_rules.h"

#include <gtest/gtest.h>

#include <memory>

game_state game_at(const std::string &fen, uint32_t moves_pawn_capture) {
    fen_position pos{};
    std::string error;
    EXPECT_TRUE(load_fen(fen, &pos, &error)) << fen << ": " << error;
    pos.halfmoves = moves_pawn_capture;
    return game_from_position(pos, 10);
}

std::vector<san_move> game_legal_moves(const game_state &game) {
    auto list = std::make_unique<side_move_list>(); // large: kept off the stack
    side_legal_moves(game.board, game.game_status.turn, list.get());
    return {list->moves, list->moves + list->count};
}

void play_in_game(game_state *game, const san_move &m) {
    if (play_move(game, m.src, m.dst))
        ascend_piece(&game->board, m.dst, m.ascend ? m.ascend : type_queen);
    log_move(game);
    game->game_status.turn ^= 1;
    game->turn_count++;
}

san_move san_of(const strong_move &m) {
    return {m.src, m.dst, m.ascend};
}

fast::move16 move16_of(const san_move &m) {
    return fast::make_move16(bitboards::square_of(m.src), bitboards::square_of(m.dst), m.ascend);
}

namespace {

strong_settings without_clock(int depth, uint64_t nodes) {
    strong_settings s;
    s.time = {};
    s.depth_limit = depth;
    s.node_limit = nodes;
    s.hash_mb = 8;
    return s;
}

} // namespace

strong_settings node_limited(uint64_t nodes) {
    return without_clock(0, nodes);
}

strong_settings depth_limited(int depth) {
    return without_clock(depth, 0);
}

fast::position mirrored(const fast::position &pos) {
    struct board brd {};
    for (int sq = 0; sq < 64; sq++) {
        const uint8_t tile = pos.tiles[sq ^ 56];
        brd.tiles[sq / 8][sq % 8] = tile ? static_cast<uint8_t>(tile ^ black_bit) : 0;
    }
    return fast::position_from_board(brd, pos.side ^ 1, pos.clock);
}
