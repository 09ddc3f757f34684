// The graphical message box drawn over the board.
#pragma once

constexpr unsigned box_left = 40, box_top = 30, box_width = 240;
constexpr unsigned box_strip_height = 10;
constexpr unsigned box_line_top = 40, box_line_height = 10, box_line_background = 20;
constexpr unsigned box_text_left = 50;
constexpr unsigned box_wrap_limit = 270; // a word whose next space would pass this wraps
constexpr unsigned char colour_box = 4, colour_box_text = 15;
// With the clocks in the side panel the box is drawn this much lower, so that it starts
// under their rule (panel_clocks_rule_top) and the clocks stay in sight.
constexpr unsigned box_drop_below_clocks = 15;

struct screen; // display/screen.h

// Draws the box with the message into the frame buffer and presents the frame; lower, under
// the panel's clocks, with `below_clocks`.
void show_message_box(screen *s, const char *str, bool below_clocks = false);
// Only the drawing, without presenting; returns the number of lines drawn.
unsigned draw_message_box(screen *s, const char *str, bool below_clocks = false);
