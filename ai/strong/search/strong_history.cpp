#include "ai/strong/search/strong_history.h"
#include "rules/fast/repetition_key.h"

#include <memory>

namespace {

bool legal_here(const game_state &game, const san_move &m, side_move_list *scratch) {
    side_legal_moves(game.board, game.game_status.turn, scratch);
    for (int i = 0; i < scratch->count; i++) {
        const san_move &legal = scratch->moves[i];
        // A pawn that reaches the last row becomes a queen when no piece is named.
        const uint8_t ascend = legal.ascend == type_queen && m.ascend == 0 ? 0 : legal.ascend;
        if (legal.src == m.src && legal.dst == m.dst && ascend == m.ascend) return true;
    }
    return false;
}

uint64_t key_of_game(const game_state &game) {
    return fast::repetition_key_of(game.board, game.game_status.turn);
}

} // namespace

std::vector<uint64_t> strong_history_keys(const game_state &start,
                                          const std::vector<san_move> &moves) {
    game_state game = start;
    std::vector<uint64_t> keys{key_of_game(game)};
    const auto scratch = std::make_unique<side_move_list>(); // too big for the stack
    for (const san_move &m : moves) {
        if (!legal_here(game, m, scratch.get())) return {};
        play_half_move(&game, m.src, m.dst, m.ascend);
        if (game.game_status.moves_pawn_capture == 0) keys.clear();
        keys.push_back(key_of_game(game));
    }
    return keys;
}
