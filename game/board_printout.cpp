#include "game/board_printout.h"
#include "display/board_view.h"
#include "game/settings.h"
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

} // namespace

int init_board(struct board *brd) {
    if (graphics && init_board_graphics() != 0) return 1;
    set_starting_position(brd);
    return 0;
}

void draw_board(const struct board &brd, const coord *legal_moves, uint8_t legal_move_count,
                unsigned selrow, unsigned selcol) {
    if (graphics) draw_board_view(legal_moves, legal_move_count, selrow, selcol);

    for (int col = 0; col < board_size; col++) std::printf("  %c  ", 'a' + col);
    std::putchar('\n');
    for (uint8_t row = 0; row < board_size; row++) {
        std::printf("%c ", '8' - row);
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = brd.tiles[row][col];
            if (graphics && tile != 0) queue_piece_sprite(row, col, tile);
            const char chr = tile_letter(tile);
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

    if (graphics) present_board_view();
}
