// The text board with chess symbols (the word UNICODE): file letters above and below, rank
// digits on both sides, three characters a square. On a terminal the squares get background
// colours; elsewhere empty dark squares show a dot, and the selected piece and its
// destinations stand in brackets.
#pragma once

#include "rules/board.h"

#include <string>

// The board as printed: the selected square and the squares of the list (count non-zero)
// highlighted; a row or column outside 0..7 selects nothing. `flipped` puts rank 1 at the
// top and file h at the left.
std::string unicode_board_text(const struct board &brd, const coord *legal_moves,
                               uint8_t legal_move_count, unsigned selrow, unsigned selcol,
                               bool flipped, bool colours);

// Colours are for a terminal whose user has not asked for none: standard output is a
// terminal and NO_COLOR is unset or empty.
bool terminal_colours();
