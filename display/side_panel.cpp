#include "display/side_panel.h"

#include "display/board_view.h"
#include "display/dbuff.h"
#include "display/fonts.h"
#include "display/screen.h"

#include <string>

namespace {

constexpr const char *thinking_text = "Thinking...";
constexpr unsigned rule_height = 1;

void draw_line(screen *s, unsigned top, uint8_t color, const char *text) {
    print_text(s, panel_text_left, top, color, text);
}

void draw_rule(screen *s, unsigned top) {
    draw_rectangle(s, panel_text_left, top, panel_bar_width, rule_height, colour_panel_text);
}

// Both clocks; the running one as dark text on a light band one pixel around the glyphs.
void draw_clocks(screen *s, const side_panel &panel) {
    for (int side = 0; side < 2; side++) {
        const unsigned top = panel_clocks_top + unsigned(side) * panel_line_height;
        uint8_t colour = colour_panel_text;
        if (panel.running_clock == side) {
            draw_rectangle(s, panel_text_left - 1, top - 1, panel_bar_width + 2, panel_line_height,
                           colour_clock_running);
            colour = colour_clock_running_text;
        }
        draw_line(s, top, colour, panel.clock_lines[side]);
    }
    draw_rule(s, panel_clocks_rule_top);
}

// The line of the latest move: the move in the latest move's colour, what comes before it on
// the line (White's move of the same number) in the text colour.
void draw_latest_line(screen *s, unsigned top, const side_panel &panel, const char *line) {
    const std::string text = line;
    const size_t from = panel.latest_from < text.size() ? panel.latest_from : 0;
    draw_line(s, top, colour_panel_text, text.substr(0, from).c_str());
    print_text(s, panel_text_left + unsigned(from) * text_advance, top, colour_panel_latest,
               text.substr(from).c_str());
}

} // namespace

unsigned progress_bar_fill(int rated, int to_rate, unsigned width) {
    if (to_rate <= 0 || rated <= 0) return 0;
    if (rated >= to_rate) return width;
    return static_cast<unsigned>(static_cast<uint64_t>(rated) * width / unsigned(to_rate));
}

void draw_side_panel(screen *s, const side_panel &panel) {
    draw_rectangle(s, panel_left, 0, panel_width, screen_height, colour_screen_fill);
    draw_line(s, panel_heading_top, colour_panel_text, panel.heading);
    draw_rule(s, panel_rule_top);
    const unsigned kept = panel.move_count < panel_move_lines ? panel.move_count : panel_move_lines;
    unsigned top = panel_moves_top, shown = kept;
    if (panel.clocks) {
        draw_clocks(s, panel);
        top = panel_moves_under_clocks_top;
        if (shown > panel_move_lines_under_clocks) shown = panel_move_lines_under_clocks;
    }
    const panel_line *latest = panel.moves + kept - shown; // the last `shown` of those kept
    for (unsigned i = 0; i + 1 < shown; i++)
        draw_line(s, top + i * panel_line_height, colour_panel_text, latest[i]);
    if (shown > 0)
        draw_latest_line(s, top + (shown - 1) * panel_line_height, panel, latest[shown - 1]);
    if (!panel.thinking) return;
    draw_line(s, panel_thinking_top, colour_panel_latest, thinking_text);
    draw_line(s, panel_thinking_top + panel_line_height, colour_panel_text, panel.depth_line);
    draw_line(s, panel_thinking_top + 2 * panel_line_height, colour_panel_text, panel.rated_line);
    draw_rectangle(s, panel_text_left, panel_bar_top, panel_bar_width, panel_bar_height,
                   colour_bar_empty);
    draw_rectangle(s, panel_text_left, panel_bar_top,
                   progress_bar_fill(panel.rated, panel.to_rate, panel_bar_width), panel_bar_height,
                   colour_bar_done);
}
