// Is a square attacked?
#pragma once

#include "rules/board.h"

// 1 if the square *king_pos is attacked by the colour opposite to the piece on pc_coords.
int king_threatened(const struct board *brd, const coord *king_pos, coord pc_coords);
// The same test with the defender's colour given as the tile colour bit (0 or 8).
int square_attacked(const struct board *brd, coord square, uint8_t defender_colour);
