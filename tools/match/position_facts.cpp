#include "position_facts.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/san.h"

#include <memory>

std::vector<uci_move> legal_moves_of(const game_state &game) {
    // Large enough for any position, so it lives on the heap.
    const auto list = std::make_unique<side_move_list>();
    side_legal_moves(game.board, game.game_status.turn, list.get());
    std::vector<uci_move> moves;
    for (int i = 0; i < list->count; i++) {
        const san_move &m = list->moves[i];
        moves.push_back({m.src, m.dst, m.ascend});
    }
    return moves;
}

side_status status_of(const game_state &game) {
    const struct board &b = game.board;
    const uint8_t turn = game.game_status.turn;
    side_status s;
    s.checked = square_attacked(&b, find_king(&b, turn), turn ? black_bit : 0);
    s.mobile = !legal_moves_of(game).empty();
    return s;
}
