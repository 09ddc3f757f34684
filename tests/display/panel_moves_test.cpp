// The latest move in the side panel's colour for it: the whole last line when it holds one
// move, only the reply when White's move of the same number shares the line.
#include "display/dbuff.h"
#include "display/side_panel.h"
#include "display_test_support.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

// Ink of each colour on the line at `top`, at the given character columns of the panel.
unsigned ink_in_columns(unsigned top, unsigned first, unsigned count, uint8_t colour) {
    return count_colour(panel_text_left + first * 9, top, count * 9, 8, colour);
}

} // namespace

TEST(PanelMoves, OnlyTheLatestMoveOfASharedLineIsInTheLatestColour) {
    reset_display_state();
    set_dot_glyph('X');
    side_panel panel{};
    std::strcpy(panel.moves[0], "X XX");
    std::strcpy(panel.moves[1], "XX XXX XXX");
    panel.move_count = 2;
    panel.latest_from = 7;
    draw_side_panel(test_screen(), panel);
    const unsigned first = panel_moves_top, last = panel_moves_top + panel_line_height;
    EXPECT_EQ(ink_in_columns(first, 0, 13, colour_panel_text), 3u);
    EXPECT_EQ(ink_in_columns(first, 0, 13, colour_panel_latest), 0u);
    EXPECT_EQ(ink_in_columns(last, 0, 7, colour_panel_text), 5u);
    EXPECT_EQ(ink_in_columns(last, 0, 7, colour_panel_latest), 0u);
    EXPECT_EQ(ink_in_columns(last, 7, 6, colour_panel_latest), 3u);
    EXPECT_EQ(ink_in_columns(last, 7, 6, colour_panel_text), 0u);

    // A line holding one move is the latest move's colour all along.
    reset_display_state();
    set_dot_glyph('X');
    panel.latest_from = 0;
    draw_side_panel(test_screen(), panel);
    EXPECT_EQ(ink_in_columns(last, 0, 13, colour_panel_latest), 8u);
    EXPECT_EQ(ink_in_columns(last, 0, 13, colour_panel_text), 0u);
}
