// The graphical board: piece images, the drawn board and the tile cursor.
#pragma once

#include "display/bitmap.h"
#include "rules/board.h"

#include <SDL_scancode.h>

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
constexpr uint8_t colour_last_move = 12;
constexpr unsigned last_move_frame = 2; // the mark is a frame this thick along the square's edge

struct screen; // display/screen.h: the piece images and whether the board is turned

// The squares of the last move, marked with a frame; no_square marks nothing.
struct last_move_squares {
    coord from = no_square;
    coord to = no_square;
};

// The tile cursor: the square last confirmed with it, h1 at start.
struct tile_cursor {
    uint8_t old_row = board_size - 1;
    uint8_t old_col = board_size - 1;
};

// What select_tile calls to draw the board again with the cursor on (row, col).
// What idle answers to stop the choice: the person has no time left.
constexpr int tile_give_up = -1;

// What select_tile calls to draw the board again with the cursor on (row, col), and, when
// given, while no key comes: idle may redraw (a running clock) and answers how long to wait
// at most before it is called again, in ms, or tile_give_up.
struct tile_redraw {
    void *context;
    void (*draw)(void *context, unsigned row, unsigned col);
    int (*idle)(void *context, unsigned row, unsigned col) = nullptr;
};

// Why the board's data could not be loaded; the game turns each into its message.
constexpr int board_font_missing = 1;
constexpr int board_image_damaged = 2; // a sprite file is short or empty
constexpr int board_out_of_memory = 3;

// Loads the twelve piece images and the font, stopping at the first failure; 0 on
// success, else one of the failures above.
int init_board_graphics(screen *s);
// Gives back the piece images init_board_graphics loaded (none loaded: nothing happens).
void release_board_graphics(screen *s);
// Loads a sprite file; for Black (black non-zero) recolours it. A missing file leaves
// the image empty (0), and is named on standard error when the white image is loaded; a
// damaged one answers board_image_damaged.
int load_piece_bitmap(const char *filename, struct bitmap *bitmapstruct, uint8_t black);
// Turns a white piece image into the black one: outline and shading (7, 8) become black,
// the body (15) a dither of 8 and 7.
void recolour_black(struct bitmap *bitmapstruct);
// The image of a tile byte, null for an empty square.
struct bitmap *piece_bitmap(screen *s, uint8_t tile);
// Where board square (row, col) stands on the screen, as a row and column of the picture
// counted from the top left: the square itself, or its mirror through the centre when
// `flipped`.
coord screen_square(unsigned row, unsigned col, bool flipped);
// Draws the background, labels, squares and markers into the frame buffer.
void draw_board_view(screen *s, const coord *legal_moves, uint8_t legal_move_count, unsigned selrow,
                     unsigned selcol, const last_move_squares &last_move = {});
// Queues the image of the piece `tile` for square (row, col).
void queue_piece_sprite(screen *s, unsigned row, unsigned col, uint8_t tile);
// Draws the queued pieces and presents the frame.
void present_board_view(screen *s);
// The square the cursor goes to from `at` for an arrow key: one step in the direction the
// picture shows (turned boards included), held at the board's edges. Other keys stay.
coord cursor_step(coord at, SDL_Scancode key, bool flipped);
// The board square under pixel (x, y) of the picture, turned or not; false off the board.
bool square_at_pixel(unsigned x, unsigned y, bool flipped, coord *square);
// Lets the person choose a square with the arrow keys and Return, starting from the
// cursor's last square; the board is redrawn after every cursor step. Answers chosen,
// closed (the window was closed) or timed_out (idle gave up).
enum class tile_choice {
    chosen,
    closed,
    given_up,  // Escape, with tile_extras::escape
    key,       // one of tile_extras::keys
    timed_out, // idle gave up: the person's time is out
};
tile_choice select_tile(screen *s, tile_cursor *cursor, const tile_redraw &redraw, uint8_t *row,
                        uint8_t *col);

// What the tile cursor takes besides the arrow keys and Return, when the words ask for it.
struct tile_extras {
    bool clicks = false;                // a click on a square moves the cursor there and takes it
    bool escape = false;                // Escape gives the choice up
    const SDL_Scancode *keys = nullptr; // keys handed back to the caller
    int key_count = 0;
};
// select_tile with the extras: `key` receives the key handed back.
tile_choice choose_tile(screen *s, tile_cursor *cursor, const tile_redraw &redraw,
                        const tile_extras &extras, uint8_t *row, uint8_t *col, SDL_Scancode *key);
