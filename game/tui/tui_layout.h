// Where the full-screen board puts things for a terminal of a given size: the squares grow
// with the terminal, the side panel takes the columns right of the board, and the last two
// rows hold the prompt and its message.
#pragma once

#include "rules/board.h"

#include <optional>

struct tui_layout {
    bool fits = false;    // false: the terminal is too small for any board
    int square_width = 0; // columns of one square
    int square_height = 0;
    int board_left = 0; // the column of file a (h when turned), right of the rank digits
    int board_top = 0;
    int panel_left = 0; // the side panel's first column
    int panel_width = 0;
    int panel_rows = 0;  // rows the panel may use, from the top
    int prompt_row = 0;  // the typed move
    int message_row = 0; // one line saying why a move was refused, or what happens
};

// The smallest terminal a board fits: squares of 3x1 and a panel of panel_min_width.
constexpr int tui_min_columns = 54;
constexpr int tui_min_rows = 12;
constexpr int tui_panel_min_width = 26;

// The largest squares that leave room for the coordinates, the panel and the two bottom
// rows. A square is about twice as wide as high, so that it looks square.
tui_layout layout_for(int columns, int rows);

// The square under the cell (column, row), counted from 0, or nothing off the board.
// `flipped`: Black's side at the bottom.
std::optional<coord> square_at(const tui_layout &layout, bool flipped, int column, int row);

// The top-left cell of `square` on the screen.
void square_origin(const tui_layout &layout, bool flipped, coord square, int *column, int *row);
