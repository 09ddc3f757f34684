#include "rules/position_rules.h"

#include <cstring>

constexpr int live_repetitions = 3;   // the live position is already logged
constexpr int search_repetitions = 2; // a searched position is not in the ring

void log_move(game_state *game) {
    last_moves &history = game->game_status.last_moves;
    game_position &slot = history.position[history.index];
    slot.board = game->board;
    slot.turn = game->game_status.turn;
    history.index = (history.index + 1) % history_slots;
}

bool repetition_found(const game_status *status, const struct board *brd, uint8_t depth) {
    const last_moves &history = status->last_moves;
    int reps = 0;
    const int needed = depth == 0 ? live_repetitions : search_repetitions;
    for (int n = 0; n < history_slots && reps < live_repetitions; n++) {
        const game_position &slot = history.position[n];
        if (depth != 0 && slot.turn != (depth & 1)) continue;
        if (std::memcmp(slot.board.tiles, brd->tiles, sizeof brd->tiles) == 0) reps++;
    }
    return reps >= needed;
}

int check_and_mobility_in(const move_context &ctx) {
    const int check = ctx.in_check ? stale_check : stale_nothing;
    return has_legal_move(ctx) ? check : check + stale_stalemate;
}

int check_and_mobility(const struct board *brd, coord king_pos) {
    if (!on_board(king_pos.row, king_pos.col)) return stale_nothing; // no king to judge
    move_context ctx;
    prepare_move_context(&ctx, brd, king_pos);
    return check_and_mobility_in(ctx);
}

int draw_rule_code(const game_status *status, const struct board *brd, uint8_t depth) {
    if (depth <= deepest_repetition_test && repetition_found(status, brd, depth))
        return stale_repetition;
    if (status->moves_pawn_capture > draw_declared_after) return stale_over_75;
    if (status->moves_pawn_capture > draw_claimable_after) return stale_over_50;
    return stale_nothing;
}

int check_stale(const game_status *status, const struct board *brd, coord king_pos, uint8_t depth) {
    const int draw = draw_rule_code(status, brd, depth);
    return draw != stale_nothing ? draw : check_and_mobility(brd, king_pos);
}
