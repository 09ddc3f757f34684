// The starting position and the board printout (text, and the window in graphics mode).
#pragma once

#include "rules/structs.h"

// Sets up the starting position; in graphics mode loads the piece images and the font
// first. 0 on success, 1 when the font cannot be loaded.
int init_board(struct board *brd);

// Prints the board; squares in the list (count non-zero) and the selected square get a
// double frame. A row or column outside 0..7 (callers pass -1) selects nothing.
void draw_board(const struct board &brd, const coord *legal_moves, uint8_t legal_move_count,
                unsigned selrow, unsigned selcol);
