#include "display/board_view.h"

#include "display/dbuff.h"
#include "display/draword.h"
#include "display/fonts.h"
#include "display/sdlfuncs.h"

struct bitmap bitmap_white_pawn, bitmap_white_bishop, bitmap_white_rook, bitmap_white_knight,
    bitmap_white_queen, bitmap_white_king;
struct bitmap bitmap_black_pawn, bitmap_black_bishop, bitmap_black_rook, bitmap_black_knight,
    bitmap_black_queen, bitmap_black_king;

namespace {

constexpr unsigned last_row = board_size - 1;
constexpr unsigned last_col = board_size - 1;
constexpr unsigned rank_digit_dy = 9;
constexpr unsigned file_letter_dx = 8;
constexpr unsigned marker_inset = 6, marker_size = 12;
constexpr unsigned cursor_inset = 2, cursor_size = 20;

struct piece_files {
    const char *filename;
    struct bitmap *white, *black;
};

// Loading order: all white images first, then the black ones from the same files.
const piece_files piece_images[] = {
    {"pawn.spr", &bitmap_white_pawn, &bitmap_black_pawn},
    {"bishop.spr", &bitmap_white_bishop, &bitmap_black_bishop},
    {"rook.spr", &bitmap_white_rook, &bitmap_black_rook},
    {"knight.spr", &bitmap_white_knight, &bitmap_black_knight},
    {"queen.spr", &bitmap_white_queen, &bitmap_black_queen},
    {"king.spr", &bitmap_white_king, &bitmap_black_king},
};

int32_t square_left(unsigned col) {
    return int32_t(col * tile_pixels + board_left);
}
int32_t square_top(unsigned row) {
    return int32_t(row * tile_pixels);
}

uint8_t square_colour(unsigned row, unsigned col) {
    return ((row ^ col) & 1) ? colour_dark_square : colour_light_square;
}

} // namespace

int init_board_graphics() {
    for (const piece_files &p : piece_images) load_piece_bitmap(p.filename, p.white, 0);
    for (const piece_files &p : piece_images) load_piece_bitmap(p.filename, p.black, 1);
    return load_font("font.fnt") != 0 ? 1 : 0;
}

void load_piece_bitmap(const char *filename, struct bitmap *bitmapstruct, uint8_t black) {
    uint8_t width, height;
    if (load_bitmap(filename, bitmapstruct, &width, &height) != 0) return;
    if (black) recolour_black(bitmapstruct);
}

void recolour_black(struct bitmap *bitmapstruct) {
    uint8_t counter = 0;
    for (int y = bitmapstruct->height - 1; y >= 0; y--)
        for (unsigned x = 0; x < bitmapstruct->width; x++) {
            uint8_t &pixel = bitmapstruct->bitmap[unsigned(y) * bitmapstruct->width + x];
            if (pixel == 7 || pixel == 8)
                pixel = 0;
            else if (pixel == 15)
                pixel = (counter++ & 1) ? 7 : 8;
        }
}

struct bitmap *piece_bitmap(uint8_t tile) {
    bool black = is_black(tile);
    switch (piece_type(tile)) {
    case type_pawn_unmoved:
    case type_pawn:
        return black ? &bitmap_black_pawn : &bitmap_white_pawn;
    case type_rook:
        return black ? &bitmap_black_rook : &bitmap_white_rook;
    case type_knight:
        return black ? &bitmap_black_knight : &bitmap_white_knight;
    case type_bishop:
        return black ? &bitmap_black_bishop : &bitmap_white_bishop;
    case type_queen:
        return black ? &bitmap_black_queen : &bitmap_white_queen;
    case type_king:
        return black ? &bitmap_black_king : &bitmap_white_king;
    default:
        return nullptr;
    }
}

void draw_board_view(const coord *legal_moves, uint8_t legal_move_count, unsigned selrow,
                     unsigned selcol) {
    fill_screen(colour_screen_fill);
    for (unsigned col = 0; col < board_size; col++)
        draw_chr(col * tile_pixels + board_left + file_letter_dx, file_letter_y, colour_label,
                 uint8_t('A' + col));
    for (unsigned row = 0; row < board_size; row++) {
        draw_chr(0, row * tile_pixels + rank_digit_dy, colour_label, uint8_t('8' - row));
        for (unsigned col = 0; col < board_size; col++) {
            int32_t x = square_left(col), y = square_top(row);
            draw_rectangle(x, y, tile_pixels, tile_pixels, square_colour(row, col));
            if (legal_move_count != 0 &&
                move_in_list(legal_moves, legal_move_count, uint8_t(row), uint8_t(col)))
                draw_rectangle(x + marker_inset, y + marker_inset, marker_size, marker_size,
                               colour_destination);
            if (row == selrow && col == selcol)
                draw_rectangle(x + cursor_inset, y + cursor_inset, cursor_size, cursor_size,
                               colour_cursor);
        }
    }
}

void queue_piece_sprite(unsigned row, unsigned col, uint8_t tile) {
    struct bitmap *image = piece_bitmap(tile);
    if (!image) return;
    unsigned inset_y = is_pawn(tile) ? pawn_inset_y : piece_inset_y;
    push_scrbitmap(uint32_t(square_left(col)) + piece_inset_x, uint32_t(square_top(row)) + inset_y,
                   image, 0);
}

void present_board_view() {
    draw_screen_sprites();
    update_screen();
}

void select_tile(tile_cursor *cursor, const tile_redraw &redraw, uint8_t *row, uint8_t *col) {
    *row = cursor->old_row;
    *col = cursor->old_col;
    for (;;) {
        SDL_Scancode key = poll_keypress();
        switch (key) {
        case SDL_SCANCODE_UNKNOWN:
            // Nothing pressed: sleep until the next event instead of spinning.
            wait_for_window_event();
            continue;
        case SDL_SCANCODE_RETURN:
            cursor->old_row = *row;
            cursor->old_col = *col;
            return;
        case SDL_SCANCODE_UP:
            if (*row > 0) --*row;
            break;
        case SDL_SCANCODE_DOWN:
            if (*row < last_row) ++*row;
            break;
        case SDL_SCANCODE_LEFT:
            if (*col > 0) --*col;
            break;
        case SDL_SCANCODE_RIGHT:
            if (*col < last_col) ++*col;
            break;
        default:
            break;
        }
        redraw.draw(redraw.context, *row, *col);
    }
}
