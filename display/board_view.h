// The graphical board: piece images, the drawn board and the tile cursor.
#pragma once

#include "rules/structs.h"

// Loads the twelve piece images and the font; 0 on success, 1 when the font is missing.
int init_board_graphics();
// Draws the background, labels, squares and markers into the frame buffer.
void draw_board_view(const coord *legal_moves, uint8_t legal_move_count, unsigned selrow,
                     unsigned selcol);
// Queues the image of the piece `tile` for square (row, col).
void queue_piece_sprite(unsigned row, unsigned col, uint8_t tile);
// Draws the queued pieces and presents the frame.
void present_board_view();
// Lets the person choose a square with the arrow keys and Return.
void select_tile(const coord *legal_moves, uint8_t legal_move_count, uint8_t *row, uint8_t *col);
