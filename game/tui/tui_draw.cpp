#include "game/tui/tui_draw.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <curses.h>
#include <iterator>
#include <string>

namespace {

enum colour_pair : short {
    pair_light = 1,
    pair_dark,
    pair_last_move,
    pair_check,
    pair_selected,
    pair_destination,
    pair_cursor,
};

// ♔♕♖♗♘♙ for White, ♚♛♜♝♞♟ for Black, by piece type (both pawn types alike).
constexpr const char *white_symbols[] = {"",       "\u2659", "\u2659", "\u2656",
                                         "\u2658", "\u2657", "\u2655", "\u2654"};
constexpr const char *black_symbols[] = {"",       "\u265f", "\u265f", "\u265c",
                                         "\u265e", "\u265d", "\u265b", "\u265a"};
constexpr char piece_letters[] = " PPRNBQK";

bool is_in(const std::vector<coord> &list, coord c) {
    return std::find(list.begin(), list.end(), c) != list.end();
}

std::string piece_text(uint8_t tile, bool unicode) {
    if (tile == 0) return "";
    const uint8_t type = piece_type(tile);
    if (unicode) return is_black(tile) ? black_symbols[type] : white_symbols[type];
    const char letter = piece_letters[type];
    return std::string(1, is_black(tile) ? static_cast<char>(letter - 'A' + 'a') : letter);
}

short square_pair(const tui_view &v, coord c) {
    if (v.cursor && *v.cursor == c) return pair_cursor;
    if (v.selected && *v.selected == c) return pair_selected;
    if (v.premove_from == c || v.premove_to == c) return pair_selected;
    if (is_in(v.destinations, c)) return pair_destination;
    if (v.king_in_check && *v.king_in_check == c) return pair_check;
    if ((v.last_from && *v.last_from == c) || (v.last_to && *v.last_to == c)) return pair_last_move;
    return (c.row + c.col) % 2 ? pair_dark : pair_light;
}

// Without colours: dark squares in reverse video, marks in the square's corners.
void draw_square_plain(const tui_layout &l, const tui_view &v, coord c, int x, int y) {
    const bool dark = (c.row + c.col) % 2 != 0;
    const attr_t base = dark ? A_REVERSE : A_NORMAL;
    attron(base);
    for (int dy = 0; dy < l.square_height; dy++) mvhline(y + dy, x, ' ', l.square_width);
    const char *mark = nullptr;
    if (v.cursor && *v.cursor == c)
        mark = "<>";
    else if (v.selected && *v.selected == c)
        mark = "[]";
    else if (is_in(v.destinations, c))
        mark = "()";
    else if (v.king_in_check && *v.king_in_check == c)
        mark = "!!";
    else if ((v.last_from && *v.last_from == c) || (v.last_to && *v.last_to == c))
        mark = "**";
    const int middle = y + (l.square_height - 1) / 2;
    if (mark) {
        mvaddch(middle, x, static_cast<chtype>(mark[0]) | base);
        mvaddch(middle, x + l.square_width - 1, static_cast<chtype>(mark[1]) | base);
    }
    const uint8_t tile = v.board.tiles[c.row][c.col];
    if (tile)
        mvaddstr(middle, x + l.square_width / 2, piece_text(tile, v.unicode).c_str());
    else if (is_in(v.destinations, c))
        mvaddstr(middle, x + l.square_width / 2, ".");
    attroff(base);
}

void draw_square_coloured(const tui_layout &l, const tui_view &v, coord c, int x, int y) {
    const short pair = square_pair(v, c);
    attron(COLOR_PAIR(pair));
    for (int dy = 0; dy < l.square_height; dy++) mvhline(y + dy, x, ' ', l.square_width);
    const int middle = y + (l.square_height - 1) / 2;
    const uint8_t tile = v.board.tiles[c.row][c.col];
    if (tile) {
        if (!v.unicode && !is_black(tile)) attron(A_BOLD);
        mvaddstr(middle, x + l.square_width / 2, piece_text(tile, v.unicode).c_str());
        attroff(A_BOLD);
    }
    attroff(COLOR_PAIR(pair));
}

void draw_board(const tui_layout &l, const tui_view &v) {
    for (uint8_t row = 0; row < board_size; row++)
        for (uint8_t col = 0; col < board_size; col++) {
            int x = 0, y = 0;
            square_origin(l, v.flipped, {row, col}, &x, &y);
            if (v.colour)
                draw_square_coloured(l, v, {row, col}, x, y);
            else
                draw_square_plain(l, v, {row, col}, x, y);
            if (col == (v.flipped ? board_size - 1 : 0))
                mvaddch(y + (l.square_height - 1) / 2, 0, static_cast<chtype>('8' - row));
            if (row == (v.flipped ? 0 : board_size - 1))
                mvaddch(l.board_top + board_size * l.square_height, x + l.square_width / 2,
                        static_cast<chtype>('a' + col));
        }
}

// `text` cut to the panel's width (counted in bytes: the panel's own text is ASCII).
void panel_line(const tui_layout &l, int row, const std::string &text, attr_t attrs = 0) {
    if (row >= l.panel_rows) return;
    attron(attrs);
    mvaddnstr(row, l.panel_left, text.c_str(), l.panel_width);
    attroff(attrs);
}

// "[#######.......] +0.35": White's share of the bar grows with White's score, full at
// +10.00 (or a mate), empty at -10.00.
std::string evaluation_bar(const tui_view &v, int width) {
    if (!v.has_evaluation) return "evaluation: none yet";
    constexpr int full_cp = 1000;
    const int inside = std::max(4, width - 10);
    const int cp = std::clamp(v.evaluation_cp, -full_cp, full_cp);
    const int white = (cp + full_cp) * inside / (2 * full_cp);
    std::string bar = "[";
    bar.append(static_cast<size_t>(white), '#');
    bar.append(static_cast<size_t>(inside - white), '.');
    bar += "] ";
    bar += v.evaluation_text;
    return bar;
}

void draw_panel(const tui_layout &l, const tui_view &v) {
    // The side at the top of the board is named first.
    const int top_side = v.flipped ? 0 : 1;
    int row = 0;
    for (const int side : {top_side, 1 - top_side}) {
        const bool runs = v.running == side;
        std::string line = std::string(side ? "Black: " : "White: ") + v.names[side];
        panel_line(l, row++, line);
        if (!v.clocks[side].empty())
            panel_line(l, row++, (runs ? "> " : "  ") + v.clocks[side] + (runs ? " <" : ""),
                       runs ? A_BOLD | A_REVERSE : A_NORMAL);
    }
    row++;
    panel_line(l, row++, v.status, A_BOLD);
    for (const std::string &t : v.thinking) panel_line(l, row++, t);
    if (v.show_evaluation) panel_line(l, row++, evaluation_bar(v, l.panel_width));
    row++;
    const int room = l.panel_rows - row;
    if (room <= 0) return;
    const size_t shown = std::min(v.move_rows.size(), static_cast<size_t>(room));
    for (size_t i = v.move_rows.size() - shown; i < v.move_rows.size(); i++)
        panel_line(l, row++, v.move_rows[i]);
}

// Every key and typed line, in a box over the board; as much as fits on a small terminal.
void draw_keys_box(int columns, int rows) {
    constexpr const char *lines[] = {
        "Keys (any key closes this box)",
        "Click or arrows+Enter: a piece, then its square",
        "e4 Nf3 O-O e7e8q, Enter: a move; Up: lines again",
        "u: undo   q: quit (kept for RESUME)   ?: keys",
        "Escape: drop the piece, the line or a premove",
        "Typed, Enter (a letter alone is a file, as in d4):",
        "f: flip  e: evaluation  hint  draw  resign  undo",
        "A move while the computer thinks is a premove",
        "At the end: Left/Right  v: review  n: new game",
    };
    constexpr int count = static_cast<int>(std::size(lines));
    size_t widest = 0;
    for (const char *line : lines) widest = std::max(widest, std::strlen(line));
    const int width = std::min(static_cast<int>(widest) + 4, columns);
    const int height = std::min(count + 2, rows);
    const int top = (rows - height) / 2, left = (columns - width) / 2;
    for (int y = 0; y < height; y++) {
        const bool edge = y == 0 || y == height - 1;
        std::string row(static_cast<size_t>(width), edge ? '-' : ' ');
        row.front() = row.back() = edge ? '+' : '|';
        if (!edge && y - 1 < count)
            row.replace(2, std::min(std::strlen(lines[y - 1]), static_cast<size_t>(width) - 4),
                        lines[y - 1]);
        mvaddnstr(top + y, left, row.c_str(), width);
    }
}

} // namespace

std::string clock_text(int64_t ms) {
    if (ms < 0) ms = 0;
    char text[32];
    const int64_t seconds = ms / 1000;
    if (ms < 20000)
        std::snprintf(text, sizeof text, "0:%02" PRId64 ".%" PRId64, seconds, ms % 1000 / 100);
    else if (seconds < 3600)
        std::snprintf(text, sizeof text, "%" PRId64 ":%02" PRId64, seconds / 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%" PRId64 ":%02" PRId64 ":%02" PRId64, seconds / 3600,
                      seconds / 60 % 60, seconds % 60);
    return text;
}

void tui_init_colours() {
    init_pair(pair_light, COLOR_BLACK, COLOR_WHITE);
    init_pair(pair_dark, COLOR_BLACK, COLOR_CYAN);
    init_pair(pair_last_move, COLOR_BLACK, COLOR_YELLOW);
    init_pair(pair_check, COLOR_BLACK, COLOR_RED);
    init_pair(pair_selected, COLOR_WHITE, COLOR_BLUE);
    init_pair(pair_destination, COLOR_BLACK, COLOR_GREEN);
    init_pair(pair_cursor, COLOR_BLACK, COLOR_MAGENTA);
}

void tui_draw(const tui_layout &l, const tui_view &v, int columns, int rows) {
    erase();
    if (!l.fits) {
        char text[96];
        std::snprintf(text, sizeof text, "The terminal is %dx%d; the board needs at least %dx%d.",
                      columns, rows, tui_min_columns, tui_min_rows);
        mvaddnstr(0, 0, text, columns);
        refresh();
        return;
    }
    draw_board(l, v);
    draw_panel(l, v);
    if (v.choosing_ascension)
        mvaddnstr(l.prompt_row, 0, "Ascend to: q r b n (Escape: another move)", columns);
    else
        mvaddnstr(l.prompt_row, 0, ("Move: " + v.prompt + "_").c_str(), columns);
    const std::string bottom = v.message.empty() ? v.help : v.message;
    mvaddnstr(l.message_row, 0, bottom.c_str(), columns);
    if (v.showing_keys) draw_keys_box(columns, rows);
    refresh();
}
