#include "game/view/unicode_board.h"

#include <cstdlib>
#include <unistd.h>

namespace {

// By piece type (both pawn types alike); White's outlined, Black's filled.
constexpr const char *white_symbols[8] = {" ", "♙", "♙", "♖", "♘", "♗", "♕", "♔"};
constexpr const char *black_symbols[8] = {" ", "♟", "♟", "♜", "♞", "♝", "♛", "♚"};

// Black pieces on light and dark backgrounds, as in the window's palette: light squares
// bright white, dark ones dark yellow, the selected piece the cursor's blue, destinations
// the markers' green.
constexpr const char *sgr_light = "\033[30;107m";
constexpr const char *sgr_dark = "\033[30;43m";
constexpr const char *sgr_selected = "\033[30;104m";
constexpr const char *sgr_destination = "\033[30;42m";
constexpr const char *sgr_reset = "\033[0m";

constexpr const char *dark_empty_plain = ".";

unsigned shown_index(unsigned i, bool flipped) {
    return flipped ? board_size - 1 - i : i;
}

void append_file_letters(std::string *out, bool flipped) {
    *out += "  ";
    for (unsigned i = 0; i < board_size; i++) {
        *out += ' ';
        *out += char('a' + shown_index(i, flipped));
        if (i + 1 < board_size) *out += ' ';
    }
    *out += '\n';
}

} // namespace

std::string unicode_board_text(const struct board &brd, const coord *legal_moves,
                               uint8_t legal_move_count, unsigned selrow, unsigned selcol,
                               bool flipped, bool colours) {
    std::string out;
    append_file_letters(&out, flipped);
    for (unsigned r = 0; r < board_size; r++) {
        const unsigned row = shown_index(r, flipped);
        const char rank = char('8' - row);
        out += rank;
        out += ' ';
        for (unsigned c = 0; c < board_size; c++) {
            const unsigned col = shown_index(c, flipped);
            const uint8_t tile = brd.tiles[row][col];
            const bool dark = ((row ^ col) & 1) != 0;
            const bool selected = row == selrow && col == selcol;
            const bool destination =
                legal_move_count != 0 &&
                move_in_list(legal_moves, legal_move_count, uint8_t(row), uint8_t(col));
            const char *symbol = (is_black(tile) ? black_symbols : white_symbols)[piece_type(tile)];
            if (colours) {
                out += selected      ? sgr_selected
                       : destination ? sgr_destination
                       : dark        ? sgr_dark
                                     : sgr_light;
                out += ' ';
                out += symbol;
                out += ' ';
            } else if (selected || destination) {
                out += '[';
                out += symbol;
                out += ']';
            } else {
                out += ' ';
                out += (tile == 0 && dark) ? dark_empty_plain : symbol;
                out += ' ';
            }
        }
        if (colours) out += sgr_reset;
        out += ' ';
        out += rank;
        out += '\n';
    }
    append_file_letters(&out, flipped);
    return out;
}

bool terminal_colours() {
    const char *no_color = std::getenv("NO_COLOR");
    return isatty(STDOUT_FILENO) != 0 && (no_color == nullptr || no_color[0] == '\0');
}
