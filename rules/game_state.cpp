#include "rules/game_state.h"
#include "rules/board_queries.h"
#include "rules/move_piece.h"
#include "rules/notation/notation.h"
#include "rules/position_rules.h"

#include <algorithm>

game_state new_game() {
    game_state game{};
    set_starting_position(&game.board);
    game.opening = opening_book_calls;
    game.turn_count = 1;
    return game;
}

int play_move(game_state *game, coord src, coord dst) {
    const bool capture = game->board.tiles[dst.row][dst.col] != 0;
    const int ascend = move_piece(&game->board, src, dst);
    // An en-passant capture lands on an empty square, but it is a pawn move all the same.
    const uint8_t moved = game->board.tiles[dst.row][dst.col];
    if (capture || (moved & type_mask) == type_pawn)
        game->game_status.moves_pawn_capture = 0;
    else
        game->game_status.moves_pawn_capture++;
    return ascend;
}

uint8_t play_half_move(game_state *game, coord src, coord dst, uint8_t ascend) {
    uint8_t became = 0;
    if (play_move(game, src, dst)) {
        became = ascend == 0 ? type_queen : ascend;
        ascend_piece(&game->board, dst, became);
    }
    log_move(game);
    game->game_status.turn = !game->game_status.turn;
    game->turn_count++;
    return became;
}

game_state game_from_position(const fen_position &pos, uint32_t turn_count) {
    game_state game{};
    game.board = pos.board;
    game.game_status.turn = pos.turn;
    game.game_status.moves_pawn_capture = pos.halfmoves;
    game.turn_count = turn_count;
    return game;
}

uint32_t searched_turn_count(const fen_position &pos) {
    constexpr uint32_t lowest = 2;
    if (pos.fullmoves == 0) return lowest; // a move number 0: before the first move
    return std::max(lowest, half_move_number(pos.fullmoves, pos.turn));
}

fen_position position_of(const game_state &game, uint32_t fullmoves) {
    fen_position pos{};
    pos.board = game.board;
    pos.turn = game.game_status.turn;
    pos.halfmoves = game.game_status.moves_pawn_capture;
    pos.fullmoves = fullmoves;
    return pos;
}
