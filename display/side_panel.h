// The window's right part beside the board: whose move it is, both clocks when the game has
// them, the last moves, and the computer's search while it thinks.
#pragma once

#include <cstdint>

constexpr unsigned panel_left = 200; // the board and its labels end at x 199
constexpr unsigned panel_width = 120;
constexpr unsigned panel_text_left = 202;
constexpr unsigned panel_line_chars = 13; // 13 glyphs of 9 pixels fit in the panel
constexpr unsigned panel_move_lines = 12;

constexpr unsigned panel_heading_top = 4;
constexpr unsigned panel_rule_top = 15;
constexpr unsigned panel_moves_top = 20;
constexpr unsigned panel_line_height = 10;
constexpr unsigned panel_thinking_top = 156;
// With clocks: their two lines under the heading, a rule, and two move lines fewer.
constexpr unsigned panel_clocks_top = 20;
constexpr unsigned panel_clocks_rule_top = 41;
constexpr unsigned panel_moves_under_clocks_top = 45;
constexpr unsigned panel_move_lines_under_clocks = 10;
constexpr unsigned panel_bar_top = 188, panel_bar_height = 5;
constexpr unsigned panel_bar_width = panel_width - 2 * (panel_text_left - panel_left);

constexpr uint8_t colour_panel_text = 15;
constexpr uint8_t colour_panel_latest = 14; // the last move and the thinking lines
constexpr uint8_t colour_bar_empty = 0;
constexpr uint8_t colour_bar_done = 10;
constexpr uint8_t colour_clock_running = 15;     // the running clock: a band, its text in
constexpr uint8_t colour_clock_running_text = 1; // the background colour
constexpr int8_t no_running_clock = -1;

using panel_line = char[panel_line_chars + 1];

// What the panel shows; the game fills it in.
struct side_panel {
    panel_line heading;                 // e.g. "White to move"
    panel_line moves[panel_move_lines]; // oldest first; the last one holds the latest move
    uint8_t move_count;
    uint8_t latest_from = 0; // where the latest move starts in the last line (0: all of it)
    bool thinking;
    panel_line depth_line; // e.g. "Depth 6"
    panel_line rated_line; // e.g. "12/20"
    int rated, to_rate;    // the bar's share
    // The clocks: drawn only when `clocks` is set, so a game without them looks as before.
    bool clocks = false;
    panel_line clock_lines[2] = {};          // White's and Black's, e.g. "White 4:53"
    int8_t running_clock = no_running_clock; // 0 White, 1 Black: highlighted
};

struct screen; // display/screen.h

// Draws the panel over its part of the frame buffer (the board is left alone).
void draw_side_panel(screen *s, const side_panel &panel);
// The filled part of the progress bar: `rated` of `to_rate` of its width, within 0..width.
unsigned progress_bar_fill(int rated, int to_rate, unsigned width);
