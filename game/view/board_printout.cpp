#include "game/view/board_printout.h"
#include "display/board_view.h"
#include "display/side_panel.h"
#include "game/running_game.h"
#include "game/view/game_window.h"
#include "game/view/unicode_board.h"
#include "game/view/view.h"
#include "rules/board_queries.h"

#include <cstdio>

namespace {

// Letters by piece type; Black's are the same plus 32 (lower case). The knight is H.
constexpr char piece_letters[8] = {' ', 'P', 'P', 'R', 'H', 'B', 'Q', 'K'};
constexpr char black_letter_offset = 32;

char tile_letter(uint8_t tile) {
    const char letter = piece_letters[tile & type_mask];
    return (tile & black_bit) ? static_cast<char>(letter + black_letter_offset) : letter;
}

// Rows and columns in printing order: rank 8 and file a first, or rank 1 and file h.
uint8_t shown_index(uint8_t i, bool flipped) {
    return flipped ? static_cast<uint8_t>(board_size - 1 - i) : i;
}

// Each square in a frame: "] x [" light, "[ x ]" dark, "[[x]]" selected or a destination.
void print_framed_board(const struct board &brd, const coord *legal_moves, uint8_t legal_move_count,
                        unsigned selrow, unsigned selcol, bool flipped) {
    for (uint8_t c = 0; c < board_size; c++) std::printf("  %c  ", 'a' + shown_index(c, flipped));
    std::putchar('\n');
    for (uint8_t r = 0; r < board_size; r++) {
        const uint8_t row = shown_index(r, flipped);
        std::printf("%c ", '8' - row);
        for (uint8_t c = 0; c < board_size; c++) {
            const uint8_t col = shown_index(c, flipped);
            const char chr = tile_letter(brd.tiles[row][col]);
            if ((row == selrow && col == selcol) ||
                (legal_move_count != 0 && move_in_list(legal_moves, legal_move_count, row, col)))
                std::printf("[[%c]]", chr);
            else if ((row ^ col) & 1)
                std::printf("[ %c ]", chr);
            else
                std::printf("] %c [", chr);
        }
        std::putchar('\n');
    }
}

} // namespace

int init_board(const running_game &run, struct board *brd) {
    if (run.graphics)
        if (const int failure = init_board_graphics(game_screen())) return failure;
    set_starting_position(brd);
    return 0;
}

const char *board_failure_message(int failure) {
    switch (failure) {
    case board_image_damaged:
        return "Error while loading";
    case board_out_of_memory:
        return "Out of memory!";
    default:
        return "Error while initalizing board.";
    }
}

void draw_board(running_game *run, const struct board &brd, const coord *legal_moves,
                uint8_t legal_move_count, unsigned selrow, unsigned selcol) {
    const view_state &view = run->view;
    if (view.unicode)
        std::fputs(unicode_board_text(brd, legal_moves, legal_move_count, selrow, selcol,
                                      view.flipped, view.colours)
                       .c_str(),
                   stdout);
    else
        print_framed_board(brd, legal_moves, legal_move_count, selrow, selcol, view.flipped);
    if (run->graphics) {
        view_board_drawn(&run->view);
        draw_window_board(run->view, brd, legal_moves, legal_move_count, selrow, selcol);
    }
}

void draw_window_board(const view_state &view, const struct board &brd, const coord *legal_moves,
                       uint8_t legal_move_count, unsigned selrow, unsigned selcol) {
    screen *window = game_screen();
    draw_board_view(window, legal_moves, legal_move_count, selrow, selcol, view_last_move(view));
    // Queued from a8 to h1: where two images overlap, the earlier square's shows.
    for (uint8_t row = 0; row < board_size; row++)
        for (uint8_t col = 0; col < board_size; col++)
            if (brd.tiles[row][col] != 0) queue_piece_sprite(window, row, col, brd.tiles[row][col]);
    if (view.panel) {
        side_panel panel;
        view_panel(view, &panel);
        draw_side_panel(window, panel);
    }
    present_board_view(window);
}
