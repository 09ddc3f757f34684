#include "rules/position_rules.h"
#include "rules/live_game.h"
#include "rules/pieces.h"

#include <cstring>

constexpr int live_repetitions = 3;   // the live position is already logged
constexpr int search_repetitions = 2; // a searched position is not in the ring

void log_move() {
    last_moves &history = game_status.last_moves;
    game_position &slot = history.position[history.index];
    slot.board = board;
    slot.turn = game_status.turn;
    history.index = (history.index + 1) % history_slots;
}

bool repetition_found(const struct board *brd, uint8_t depth) {
    const last_moves &history = game_status.last_moves;
    int reps = 0;
    const int needed = depth == 0 ? live_repetitions : search_repetitions;
    for (int n = 0; n < history_slots && reps < live_repetitions; n++) {
        const game_position &slot = history.position[n];
        if (depth != 0 && slot.turn != (depth & 1)) continue;
        if (std::memcmp(slot.board.tiles, brd->tiles, sizeof brd->tiles) == 0) reps++;
    }
    return reps >= needed;
}

int check_and_mobility(const struct board *brd, coord king_pos) {
    if (!on_board(king_pos.row, king_pos.col)) return stale_nothing; // no king to judge
    const uint8_t side = brd->tiles[king_pos.row][king_pos.col] & black_bit;
    const int in_check = king_threatened(brd, &king_pos, king_pos);
    destination_list list;
    for (uint8_t row = 0; row < board_size; row++) {
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = brd->tiles[row][col];
            if (tile == 0 || (tile & black_bit) != side) continue;
            if (legal_moves(brd, coord{row, col}, &list, &king_pos) != 0) return in_check;
        }
    }
    return in_check + stale_stalemate;
}

int check_stale(const struct board *brd, coord king_pos, uint8_t depth) {
    if (depth <= deepest_repetition_test && repetition_found(brd, depth)) return stale_repetition;
    if (game_status.moves_pawn_capture > draw_declared_after) return stale_over_75;
    if (game_status.moves_pawn_capture > draw_claimable_after) return stale_over_50;
    return check_and_mobility(brd, king_pos);
}
