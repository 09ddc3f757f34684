#include "game/tui/tui_layout.h"

namespace {

constexpr int rank_digits_width = 2; // "8 " left of the board
constexpr int panel_gap = 2;
constexpr int bottom_rows = 3; // the file letters, the prompt, the message
constexpr int largest_square_height = 6;

int width_for(int height) {
    return 2 * height + 1;
}

} // namespace

tui_layout layout_for(int columns, int rows) {
    tui_layout layout;
    for (int height = largest_square_height; height >= 1; height--) {
        const int width = width_for(height);
        const int board_right = rank_digits_width + board_size * width;
        if (board_size * height + bottom_rows > rows) continue;
        if (board_right + panel_gap + tui_panel_min_width > columns) continue;
        if (rows < tui_min_rows) break;
        layout.fits = true;
        layout.square_width = width;
        layout.square_height = height;
        layout.board_left = rank_digits_width;
        layout.board_top = 0;
        layout.panel_left = board_right + panel_gap;
        layout.panel_width = columns - layout.panel_left;
        layout.panel_rows = rows - 2;
        layout.prompt_row = rows - 2;
        layout.message_row = rows - 1;
        return layout;
    }
    return layout;
}

std::optional<coord> square_at(const tui_layout &layout, bool flipped, int column, int row) {
    if (!layout.fits) return std::nullopt;
    const int x = column - layout.board_left, y = row - layout.board_top;
    if (x < 0 || y < 0) return std::nullopt;
    const int screen_col = x / layout.square_width, screen_row = y / layout.square_height;
    if (screen_col >= board_size || screen_row >= board_size) return std::nullopt;
    const int last = board_size - 1;
    return coord{static_cast<uint8_t>(flipped ? last - screen_row : screen_row),
                 static_cast<uint8_t>(flipped ? last - screen_col : screen_col)};
}

void square_origin(const tui_layout &layout, bool flipped, coord square, int *column, int *row) {
    const int last = board_size - 1;
    const int screen_col = flipped ? last - square.col : square.col;
    const int screen_row = flipped ? last - square.row : square.row;
    *column = layout.board_left + screen_col * layout.square_width;
    *row = layout.board_top + screen_row * layout.square_height;
}
