// Questions about a board that do not change it, and the starting position.
#pragma once

#include "rules/board.h"

// First king of `side` (0 White, non-zero Black) in index order a8..h1, or no_square.
coord find_king(const struct board *brd, uint8_t side);
void piece_count(const struct board *brd, uint8_t side, uint8_t *queen_count, uint8_t *rook_count,
                 uint8_t *bishop_count, uint8_t *knight_count, uint8_t *pawn_count);
void set_starting_position(struct board *brd);

// Whether `sq` holds a piece of `side` (0 White, non-zero Black).
inline bool holds_piece_of(const struct board &brd, coord sq, uint8_t side) {
    const uint8_t tile = brd.tiles[sq.row][sq.col];
    return tile != 0 && is_black(tile) == (side != 0);
}
