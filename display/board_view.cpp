#include "display/board_view.h"

#include "display/data_files.h"
#include "display/dbuff.h"
#include "display/draw_queue.h"
#include "display/fonts.h"
#include "display/screen.h"
#include "display/sdlfuncs.h"

#include <cstdlib>

namespace {

constexpr unsigned last_row = board_size - 1;
constexpr unsigned last_col = board_size - 1;
constexpr unsigned rank_digit_dy = 9;
constexpr unsigned file_letter_dx = 8;
constexpr unsigned marker_inset = 6, marker_size = 12;
constexpr unsigned cursor_inset = 2, cursor_size = 20;

struct piece_files {
    const char *filename;
    struct bitmap piece_bitmaps::*white, piece_bitmaps::*black;
};

// Loading order: all white images first, then the black ones from the same files.
constexpr piece_files piece_images[] = {
    {"pawn.spr", &piece_bitmaps::white_pawn, &piece_bitmaps::black_pawn},
    {"bishop.spr", &piece_bitmaps::white_bishop, &piece_bitmaps::black_bishop},
    {"rook.spr", &piece_bitmaps::white_rook, &piece_bitmaps::black_rook},
    {"knight.spr", &piece_bitmaps::white_knight, &piece_bitmaps::black_knight},
    {"queen.spr", &piece_bitmaps::white_queen, &piece_bitmaps::black_queen},
    {"king.spr", &piece_bitmaps::white_king, &piece_bitmaps::black_king},
};

// The top-left pixel of board square (row, col) as the picture is turned.
int32_t square_left(const screen *s, unsigned row, unsigned col) {
    return int32_t(screen_square(row, col, s->flipped).col * tile_pixels + board_left);
}
int32_t square_top(const screen *s, unsigned row, unsigned col) {
    return int32_t(screen_square(row, col, s->flipped).row * tile_pixels);
}

uint8_t square_colour(unsigned row, unsigned col) {
    return ((row ^ col) & 1) ? colour_dark_square : colour_light_square;
}

// A frame along the inside of the square's edge, clear of the cursor and the markers.
void draw_last_move_frame(screen *s, int32_t x, int32_t y) {
    constexpr uint32_t inner = tile_pixels - 2 * last_move_frame;
    draw_rectangle(s, x, y, tile_pixels, last_move_frame, colour_last_move);
    draw_rectangle(s, x, y + int32_t(tile_pixels - last_move_frame), tile_pixels, last_move_frame,
                   colour_last_move);
    draw_rectangle(s, x, y + int32_t(last_move_frame), last_move_frame, inner, colour_last_move);
    draw_rectangle(s, x + int32_t(tile_pixels - last_move_frame), y + int32_t(last_move_frame),
                   last_move_frame, inner, colour_last_move);
}

} // namespace

int init_board_graphics(screen *s) {
    for (uint8_t black = 0; black <= 1; black++)
        for (const piece_files &p : piece_images)
            if (const int failure =
                    load_piece_bitmap(p.filename, &(s->pieces.*(black ? p.black : p.white)), black))
                return failure;
    return load_font(s, "font.fnt") != 0 ? board_font_missing : 0;
}

void release_board_graphics(screen *s) {
    for (uint8_t black = 0; black <= 1; black++)
        for (const piece_files &p : piece_images) {
            struct bitmap &image = s->pieces.*(black ? p.black : p.white);
            std::free(image.bitmap);
            image.bitmap = nullptr;
        }
}

int load_piece_bitmap(const char *filename, struct bitmap *bitmapstruct, uint8_t black) {
    uint8_t width, height;
    const int loaded = load_bitmap(filename, bitmapstruct, &width, &height);
    // A missing image leaves its piece undrawn; a damaged one stops the game.
    if (loaded == bitmap_damaged) return board_image_damaged;
    if (loaded == bitmap_out_of_memory) return board_out_of_memory;
    if (loaded != 0) {
        if (!black) report_missing_data_file(filename); // the black copy is the same file
        return 0;
    }
    if (black) recolour_black(bitmapstruct);
    return 0;
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

struct bitmap *piece_bitmap(screen *s, uint8_t tile) {
    bool black = is_black(tile);
    piece_bitmaps &p = s->pieces;
    switch (piece_type(tile)) {
    case type_pawn_unmoved:
    case type_pawn:
        return black ? &p.black_pawn : &p.white_pawn;
    case type_rook:
        return black ? &p.black_rook : &p.white_rook;
    case type_knight:
        return black ? &p.black_knight : &p.white_knight;
    case type_bishop:
        return black ? &p.black_bishop : &p.white_bishop;
    case type_queen:
        return black ? &p.black_queen : &p.white_queen;
    case type_king:
        return black ? &p.black_king : &p.white_king;
    default:
        return nullptr;
    }
}

coord screen_square(unsigned row, unsigned col, bool flipped) {
    if (!flipped) return {uint8_t(row), uint8_t(col)};
    return {uint8_t(last_row - row), uint8_t(last_col - col)};
}

void draw_board_view(screen *s, const coord *legal_moves, uint8_t legal_move_count, unsigned selrow,
                     unsigned selcol, const last_move_squares &last_move) {
    fill_screen(s, colour_screen_fill);
    // Labels by the picture's columns and rows: file a and rank 8 at the top left, or h and 1.
    for (unsigned col = 0; col < board_size; col++)
        draw_chr(s, col * tile_pixels + board_left + file_letter_dx, file_letter_y, colour_label,
                 uint8_t('A' + screen_square(0, col, s->flipped).col));
    for (unsigned row = 0; row < board_size; row++) {
        draw_chr(s, 0, row * tile_pixels + rank_digit_dy, colour_label,
                 uint8_t('8' - screen_square(row, 0, s->flipped).row));
        for (unsigned col = 0; col < board_size; col++) {
            int32_t x = square_left(s, row, col), y = square_top(s, row, col);
            draw_rectangle(s, x, y, tile_pixels, tile_pixels, square_colour(row, col));
            const coord here{uint8_t(row), uint8_t(col)};
            if (here == last_move.from || here == last_move.to) draw_last_move_frame(s, x, y);
            if (legal_move_count != 0 &&
                move_in_list(legal_moves, legal_move_count, uint8_t(row), uint8_t(col)))
                draw_rectangle(s, x + marker_inset, y + marker_inset, marker_size, marker_size,
                               colour_destination);
            if (row == selrow && col == selcol)
                draw_rectangle(s, x + cursor_inset, y + cursor_inset, cursor_size, cursor_size,
                               colour_cursor);
        }
    }
}

void queue_piece_sprite(screen *s, unsigned row, unsigned col, uint8_t tile) {
    struct bitmap *image = piece_bitmap(s, tile);
    if (!image) return;
    unsigned inset_y = is_pawn(tile) ? pawn_inset_y : piece_inset_y;
    push_scrbitmap(s, uint32_t(square_left(s, row, col)) + piece_inset_x,
                   uint32_t(square_top(s, row, col)) + inset_y, image, 0);
}

void present_board_view(screen *s) {
    draw_screen_sprites(s);
    update_screen(s);
}

coord cursor_step(coord at, SDL_Scancode key, bool flipped) {
    // The step on the picture, then back to the board: a turned board mirrors both axes.
    coord on_screen = screen_square(at.row, at.col, flipped);
    switch (key) {
    case SDL_SCANCODE_UP:
        if (on_screen.row > 0) --on_screen.row;
        break;
    case SDL_SCANCODE_DOWN:
        if (on_screen.row < last_row) ++on_screen.row;
        break;
    case SDL_SCANCODE_LEFT:
        if (on_screen.col > 0) --on_screen.col;
        break;
    case SDL_SCANCODE_RIGHT:
        if (on_screen.col < last_col) ++on_screen.col;
        break;
    default:
        return at;
    }
    return screen_square(on_screen.row, on_screen.col, flipped); // the mirror is its own inverse
}

bool square_at_pixel(unsigned x, unsigned y, bool flipped, coord *square) {
    if (x < board_left || x >= board_left + board_size * tile_pixels ||
        y >= board_size * tile_pixels)
        return false;
    // The mirror through the centre is its own inverse: picture square to board square.
    *square = screen_square(y / tile_pixels, (x - board_left) / tile_pixels, flipped);
    return true;
}

tile_choice select_tile(screen *s, tile_cursor *cursor, const tile_redraw &redraw, uint8_t *row,
                        uint8_t *col) {
    SDL_Scancode key;
    return choose_tile(s, cursor, redraw, {}, row, col, &key);
}

tile_choice choose_tile(screen *s, tile_cursor *cursor, const tile_redraw &redraw,
                        const tile_extras &extras, uint8_t *row, uint8_t *col, SDL_Scancode *key) {
    *row = cursor->old_row;
    *col = cursor->old_col;
    for (;;) {
        const key_or_click input = poll_key_or_click(s);
        if (window_closed(s)) return tile_choice::closed;
        coord clicked;
        if (input.clicked && extras.clicks &&
            square_at_pixel(input.x, input.y, s->flipped, &clicked)) {
            // As the cursor moved there (one redraw when it moves) and Return pressed.
            if (!(clicked == coord{*row, *col})) {
                *row = clicked.row;
                *col = clicked.col;
                redraw.draw(redraw.context, *row, *col);
            }
            cursor->old_row = *row;
            cursor->old_col = *col;
            return tile_choice::chosen;
        }
        if (input.key == SDL_SCANCODE_UNKNOWN) {
            // Nothing pressed: sleep until the next event instead of spinning.
            if (!redraw.idle) {
                wait_for_window_event(s);
                continue;
            }
            const int wait_ms = redraw.idle(redraw.context, *row, *col);
            if (wait_ms < 0) return tile_choice::timed_out;
            wait_for_window_event_within(s, wait_ms);
            continue;
        }
        if (input.key == SDL_SCANCODE_RETURN) {
            cursor->old_row = *row;
            cursor->old_col = *col;
            return tile_choice::chosen;
        }
        if (input.key == SDL_SCANCODE_ESCAPE && extras.escape) return tile_choice::given_up;
        for (int i = 0; i < extras.key_count; i++)
            if (input.key == extras.keys[i]) {
                drop_typed_text();
                *key = input.key;
                return tile_choice::key;
            }
        const coord next = cursor_step({*row, *col}, input.key, s->flipped);
        *row = next.row;
        *col = next.col;
        redraw.draw(redraw.context, *row, *col);
    }
}
