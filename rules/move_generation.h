// The legal destinations of one piece, in the fixed order that breaks the computer's ties.
#pragma once

#include "rules/board.h"

// Fills `list` with the destinations of the piece on pc_coords in generation order and
// returns their number. With a king position each destination is kept only if that king
// is safe after the move; a null king_pos switches the filter off (kings always filter).
uint8_t legal_moves(const struct board *brd, coord pc_coords, destination_list *list,
                    const coord *king_pos);
