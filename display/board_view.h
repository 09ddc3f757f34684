// The graphical board: piece images, the drawn board and the tile cursor.
#pragma once

#include "display/bitmap.h"
#include "rules/structs.h"

constexpr unsigned tile_pixels = 24;
constexpr unsigned board_left = 8; // the board fills x 8..199, y 0..191
constexpr unsigned file_letter_y = 192;
constexpr unsigned piece_inset_x = 2;
constexpr unsigned pawn_inset_y = 2;
constexpr unsigned piece_inset_y = 1;

constexpr uint8_t colour_screen_fill = 1;
constexpr uint8_t colour_label = 15;
constexpr uint8_t colour_light_square = 15;
constexpr uint8_t colour_dark_square = 6;
constexpr uint8_t colour_destination = 2;
constexpr uint8_t colour_cursor = 9;

extern struct bitmap bitmap_white_pawn, bitmap_white_bishop, bitmap_white_rook, bitmap_white_knight,
    bitmap_white_queen, bitmap_white_king;
extern struct bitmap bitmap_black_pawn, bitmap_black_bishop, bitmap_black_rook, bitmap_black_knight,
    bitmap_black_queen, bitmap_black_king;
// The tile cursor: the square last confirmed with it, h1 at start.
struct tile_cursor {
    uint8_t old_row = board_size - 1;
    uint8_t old_col = board_size - 1;
};

// What select_tile calls to draw the board again with the cursor on (row, col).
struct tile_redraw {
    void *context;
    void (*draw)(void *context, unsigned row, unsigned col);
};

// Loads the twelve piece images and the font; 0 on success, 1 when the font is missing.
int init_board_graphics();
// Loads a sprite file; for Black (black non-zero) recolours it. A missing file leaves
// the image empty.
void load_piece_bitmap(const char *filename, struct bitmap *bitmapstruct, uint8_t black);
// Turns a white piece image into the black one: outline and shading (7, 8) become black,
// the body (15) a dither of 8 and 7.
void recolour_black(struct bitmap *bitmapstruct);
// The image of a tile byte, null for an empty square.
struct bitmap *piece_bitmap(uint8_t tile);
// Draws the background, labels, squares and markers into the frame buffer.
void draw_board_view(const coord *legal_moves, uint8_t legal_move_count, unsigned selrow,
                     unsigned selcol);
// Queues the image of the piece `tile` for square (row, col).
void queue_piece_sprite(unsigned row, unsigned col, uint8_t tile);
// Draws the queued pieces and presents the frame.
void present_board_view();
// Lets the person choose a square with the arrow keys and Return, starting from the
// cursor's last square; the board is redrawn after every cursor step.
void select_tile(tile_cursor *cursor, const tile_redraw &redraw, uint8_t *row, uint8_t *col);
