// Making a move on a board: the piece, castling's rook, the captured en-passant pawn and
// the flags. The board alone changes; the game's counters are kept by play_move.
#pragma once

#include "rules/structs.h"

// Returns 1 when the moved piece is a pawn standing on row 0 or 7 (it must be ascended).
int move_piece(struct board *brd, coord pc_coords, coord new_coords);
void ascend_piece(struct board *brd, coord pc_coords, uint8_t new_rank);
void unset_enpass_bits(struct board *brd);
