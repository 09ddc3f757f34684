// The starting position and the board printout (text, and the window in graphics mode).
#pragma once

#include "rules/board.h"

struct running_game;
struct view_state;

// Sets up the starting position; in graphics mode loads the piece images and the font
// first. 0 on success, else the display's reason (board_font_missing ...).
int init_board(running_game *run, struct board *brd);

// The message for a failure of init_board; the game then ends with status 1.
const char *board_failure_message(int failure);

// Prints the board; squares in the list (count non-zero) and the selected square get a
// double frame. A row or column outside 0..7 (callers pass -1) selects nothing. In graphics
// mode the window shows it too.
void draw_board(running_game *run, const struct board &brd, const coord *legal_moves,
                uint8_t legal_move_count, unsigned selrow, unsigned selcol);

// Only the window's picture: the board with its markers and pieces (and the side panel),
// presented.
void draw_window_board(const view_state &view, const struct board &brd, const coord *legal_moves,
                       uint8_t legal_move_count, unsigned selrow, unsigned selcol);
