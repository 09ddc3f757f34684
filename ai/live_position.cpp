#include "ai/live_position.h"
#include "ai/opening.h"
#include "rules/live_game.h"

void set_live_position(const fen_position &pos, uint32_t turn) {
    const uint8_t black = game_status.black_ai, white = game_status.white_ai;
    game_status = {};
    game_status.black_ai = black;
    game_status.white_ai = white;
    game_status.turn = pos.turn;
    game_status.moves_pawn_capture = pos.halfmoves;
    board = pos.board;
    turn_count = turn;
    set_opening_calls_left(0);
}

fen_position live_position(uint8_t turn, uint32_t fullmoves) {
    fen_position pos{};
    pos.board = board;
    pos.turn = turn;
    pos.halfmoves = game_status.moves_pawn_capture;
    pos.fullmoves = fullmoves;
    return pos;
}
