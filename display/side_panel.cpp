#include "display/side_panel.h"

#include "display/board_view.h"
#include "display/dbuff.h"
#include "display/fonts.h"

namespace {

constexpr const char *thinking_text = "Thinking...";
constexpr unsigned rule_height = 1;

void draw_line(unsigned top, uint8_t color, const char *text) {
    print_text(panel_text_left, top, color, text);
}

} // namespace

unsigned progress_bar_fill(int rated, int to_rate, unsigned width) {
    if (to_rate <= 0 || rated <= 0) return 0;
    if (rated >= to_rate) return width;
    return static_cast<unsigned>(static_cast<uint64_t>(rated) * width / unsigned(to_rate));
}

void draw_side_panel(const side_panel &panel) {
    draw_rectangle(panel_left, 0, panel_width, screen_height, colour_screen_fill);
    draw_line(panel_heading_top, colour_panel_text, panel.heading);
    draw_rectangle(panel_text_left, panel_rule_top, panel_bar_width, rule_height,
                   colour_panel_text);
    const unsigned shown =
        panel.move_count < panel_move_lines ? panel.move_count : panel_move_lines;
    for (unsigned i = 0; i < shown; i++)
        draw_line(panel_moves_top + i * panel_line_height,
                  i + 1 == shown ? colour_panel_latest : colour_panel_text, panel.moves[i]);
    if (!panel.thinking) return;
    draw_line(panel_thinking_top, colour_panel_latest, thinking_text);
    draw_line(panel_thinking_top + panel_line_height, colour_panel_text, panel.depth_line);
    draw_line(panel_thinking_top + 2 * panel_line_height, colour_panel_text, panel.rated_line);
    draw_rectangle(panel_text_left, panel_bar_top, panel_bar_width, panel_bar_height,
                   colour_bar_empty);
    draw_rectangle(panel_text_left, panel_bar_top,
                   progress_bar_fill(panel.rated, panel.to_rate, panel_bar_width), panel_bar_height,
                   colour_bar_done);
}
