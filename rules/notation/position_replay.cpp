#include "rules/notation/position_replay.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/notation/notation.h"

#include <algorithm>

namespace {

constexpr uint8_t first_row = 0, last_row = board_size - 1;

} // namespace

bool read_start_fen(const std::string &fen, fen_position *out, std::string *problem,
                    std::string *note) {
    fen_position pos;
    if (!load_fen(fen, &pos, problem, note)) return false;
    if (const char *unreachable = unreachable_position(pos)) {
        *problem = unreachable;
        return false;
    }
    *out = pos;
    return true;
}

game_state game_from_start(const fen_position &pos) {
    return game_from_position(pos,
                              half_move_number(std::max<uint32_t>(pos.fullmoves, 1), pos.turn));
}

bool legal_in(const game_state &game, const san_move &m, std::string *problem) {
    const struct board &board = game.board;
    const uint8_t turn = game.game_status.turn;
    const uint8_t tile = board.tiles[m.src.row][m.src.col];
    std::string why;
    if (tile == 0 || is_black(tile) != (turn == side_black)) {
        why = "no piece of the side to move on " + square_name(m.src);
    } else {
        const coord king_pos = find_king(&board, turn);
        destination_list list;
        legal_moves(&board, m.src, &list, &king_pos);
        const bool promotes = is_pawn(tile) && (m.dst.row == first_row || m.dst.row == last_row);
        if (!move_in_list(list.squares, list.count, m.dst.row, m.dst.col))
            why = "not a legal move";
        else if (promotes && m.ascend == 0)
            why = "the pawn must become a piece (q, r, b or n)";
        else if (!promotes && m.ascend != 0)
            why = "only a pawn reaching the last rank becomes another piece";
        else
            return true;
    }
    if (problem) *problem = coordinate_text(m) + ": " + why;
    return false;
}

bool play_coordinates(game_state *game, std::string_view text, promotion_case letters,
                      std::string *problem, san_move *played) {
    san_move m;
    if (!read_coordinates(text, letters, &m)) {
        *problem = "not a move: '" + shown_text(text) + "' (moves are like e2e4 or e7e8q)";
        return false;
    }
    if (!legal_in(*game, m, problem)) return false;
    play_half_move(game, m.src, m.dst, m.ascend);
    if (played) *played = m;
    return true;
}

size_t play_coordinate_moves(game_state *game, std::span<const std::string> moves,
                             promotion_case letters, std::string *problem,
                             std::vector<san_move> *played) {
    for (size_t i = 0; i < moves.size(); i++) {
        san_move m;
        if (!play_coordinates(game, moves[i], letters, problem, &m)) return i;
        if (played) played->push_back(m);
    }
    return moves.size();
}
