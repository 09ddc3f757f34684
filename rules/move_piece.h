// Making a move on a board: the piece, castling's rook, the captured en-passant pawn and
// the flags. The board alone changes; the game's counters are kept by play_move.
#pragma once

#include "rules/structs.h"

struct board_sets;

// Moves the piece on `src` to `dst`; with `sets` (the sets of the same board, see
// bitboards.h) they follow every tile that changes. Returns 1 when the moved piece is a pawn
// on the last row (it must be ascended).
int move_piece(struct board *brd, coord src, coord dst, board_sets *sets = nullptr);
// The piece on `sq` becomes `new_rank`, in `sets` too when given.
void ascend_piece(struct board *brd, coord sq, uint8_t new_rank, board_sets *sets = nullptr);
void unset_enpass_bits(struct board *brd);
