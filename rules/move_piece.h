// Making a move on a board: the piece, castling's rook, the captured en-passant pawn and
// the flags. The board alone changes; the game's counters are kept by play_move.
#pragma once

#include "rules/board.h"

struct board_sets;

// Moves the piece on `src` to `dst`; with `sets` (the sets of the same board, see
// bitboards.h) they follow every tile that changes. Returns 1 when the moved piece is a pawn
// on the last row (it must be ascended).
int move_piece(struct board *brd, coord src, coord dst, board_sets *sets = nullptr);

namespace move_piece_detail {
// The one body of move_piece, made for each case so that the search, whose call passes
// sets, pays no test of the pointer.
template <bool with_sets> int move_on(struct board *brd, board_sets *sets, coord src, coord dst);
} // namespace move_piece_detail

inline int move_piece(struct board *brd, coord src, coord dst, board_sets *sets) {
    return sets ? move_piece_detail::move_on<true>(brd, sets, src, dst)
                : move_piece_detail::move_on<false>(brd, nullptr, src, dst);
}
// The piece on `sq` becomes `new_rank`, in `sets` too when given.
void ascend_piece(struct board *brd, coord sq, uint8_t new_rank, board_sets *sets = nullptr);
void unset_enpass_bits(struct board *brd);
