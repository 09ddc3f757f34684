#include "rules/position_key.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"

#include <algorithm>

namespace {

constexpr uint8_t white_back_row = 7;
constexpr uint8_t black_back_row = 0;
constexpr uint8_t king_col = 4;
constexpr uint8_t queen_side_rook_col = 0;
constexpr uint8_t king_side_rook_col = 7;

// The piece as the comparison sees it: type and colour, flags off, pawns as one type.
uint8_t compared_piece(uint8_t tile) {
    if (tile == 0) return 0;
    const uint8_t piece = tile & piece_mask;
    return is_pawn(piece) ? static_cast<uint8_t>((piece & black_bit) | type_pawn) : piece;
}

// Rights of one side: its unmoved king on its square, with each unmoved rook on its corner.
uint8_t side_rights(const struct board &brd, uint8_t row, uint8_t colour, uint8_t king_side,
                    uint8_t queen_side) {
    const uint8_t *tiles = brd.tiles[row];
    // A clear has-moved flag and no en-passant flag: the tile is exactly the piece.
    if (tiles[king_col] != (type_king | colour)) return 0;
    uint8_t rights = 0;
    if (tiles[king_side_rook_col] == (type_rook | colour)) rights |= king_side;
    if (tiles[queen_side_rook_col] == (type_rook | colour)) rights |= queen_side;
    return rights;
}

} // namespace

uint8_t castling_rights(const struct board &brd) {
    return side_rights(brd, white_back_row, 0, castle_white_king_side, castle_white_queen_side) |
           side_rights(brd, black_back_row, black_bit, castle_black_king_side,
                       castle_black_queen_side);
}

uint8_t en_passant_capture_col(const struct board &brd, uint8_t side_to_move) {
    const uint8_t mover_colour = side_to_move ? black_bit : 0;
    const coord king = find_king(&brd, side_to_move);
    const coord *filter = king == no_square ? nullptr : &king;
    for (uint8_t row = 0; row < board_size; row++) {
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = brd.tiles[row][col];
            if (!is_pawn(tile) || !(tile & en_passant_flag) || (tile & black_bit) == mover_colour)
                continue;
            // The capturing pawn stands beside it and lands behind it, as the mover sees it.
            const int target_row = row + (side_to_move ? 1 : -1);
            if (!on_board(target_row, col)) continue;
            const coord target{static_cast<uint8_t>(target_row), col};
            for (int side_col : {col - 1, col + 1}) {
                if (!on_board(row, side_col)) continue;
                const coord capturer{row, static_cast<uint8_t>(side_col)};
                const uint8_t beside = brd.tiles[row][side_col];
                if (!is_pawn(beside) || (beside & black_bit) != mover_colour) continue;
                destination_list moves;
                legal_moves(&brd, capturer, &moves, filter);
                if (move_in_list(moves.squares, moves.count, target.row, target.col)) return col;
            }
        }
    }
    return no_en_passant;
}

position_key key_of(const struct board &brd, uint8_t side_to_move) {
    position_key key{};
    for (int row = 0; row < board_size; row++)
        for (int col = 0; col < board_size; col++)
            key.pieces[row * board_size + col] = compared_piece(brd.tiles[row][col]);
    key.side_to_move = side_to_move ? 1 : 0;
    key.castling = castling_rights(brd);
    key.en_passant_col = en_passant_capture_col(brd, side_to_move);
    return key;
}

void note_position(position_history *history, const struct board &brd, uint8_t side_to_move) {
    history->keys.push_back(key_of(brd, side_to_move));
}

size_t occurrences(const position_history &history, const position_key &key) {
    return static_cast<size_t>(std::count(history.keys.begin(), history.keys.end(), key));
}
