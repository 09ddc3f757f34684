// The clocks in the side panel: both lines, the running one on a band, the moves moved down
// and cut to the latest ten; and without clocks the panel as it always was, pixel for pixel.
#include "display/board_view.h"
#include "display/dbuff.h"
#include "display/fonts.h"
#include "display/side_panel.h"
#include "display_test_support.h"
#include "rules/board.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

class PanelClocks : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_display_state();
        set_dot_glyph('X');
    }
};

// Move line i holds i+1 glyphs: a line's ink count tells which move it shows.
side_panel panel_with_moves(unsigned moves) {
    side_panel panel{};
    std::strcpy(panel.heading, "X");
    for (unsigned i = 0; i < moves && i < panel_move_lines; i++)
        std::strcpy(panel.moves[i], std::string(i + 1, 'X').c_str());
    panel.move_count = uint8_t(moves);
    return panel;
}

void set_clocks(side_panel *panel, int8_t running) {
    panel->clocks = true;
    std::strcpy(panel->clock_lines[0], "X");
    std::strcpy(panel->clock_lines[1], "XX");
    panel->running_clock = running;
}

unsigned ink_on_line(unsigned top, uint8_t colour) {
    return count_colour(panel_left, top, panel_width, 1, colour);
}

// FNV-1a of the whole frame buffer.
uint64_t frame_hash() {
    uint64_t h = 1469598103934665603ull;
    for (uint8_t byte : test_screen()->dbuff) h = (h ^ byte) * 1099511628211ull;
    return h;
}

// The frames of the two panels below, drawn by the panel before it had clocks.
constexpr uint64_t few_moves_frame = 0x284ff3647d381c4eull;
constexpr uint64_t full_panel_frame = 0xf9b75d5ce891b5f7ull;

// A font whose every glyph has ink of its own, so that text anywhere changes the hash.
void fill_font_with_patterns() {
    for (unsigned c = 0; c < glyph_count; c++)
        for (unsigned r = 0; r < glyph_size; r++)
            test_screen()->font.chr[c].bitmap[r] = static_cast<uint8_t>(c * 31 + r * 7 + 1);
}

} // namespace

TEST_F(PanelClocks, BothClocksWithTheRunningOneOnABand) {
    side_panel panel = panel_with_moves(12);
    set_clocks(&panel, side_black);
    draw_side_panel(test_screen(), panel);
    const unsigned band = (panel_bar_width + 2) * panel_line_height;
    // White's line: its glyph in the panel's text colour, no band.
    EXPECT_EQ(get_pixel(test_screen(), 202, 20), colour_panel_text);
    EXPECT_EQ(count_colour(panel_left, 19, panel_width, 10, colour_clock_running), 1u);
    // Black's line: a band from row 29 to 38, its two glyphs dark on it.
    EXPECT_EQ(count_colour(panel_left, 29, panel_width, 10, colour_clock_running), band - 2);
    EXPECT_EQ(get_pixel(test_screen(), 202, 30), colour_clock_running_text);
    EXPECT_EQ(get_pixel(test_screen(), 211, 30), colour_clock_running_text);
    EXPECT_EQ(get_pixel(test_screen(), 203, 30), colour_clock_running);
    EXPECT_EQ(ink_on_line(41, colour_panel_text), panel_bar_width); // the rule under them
    // The moves start below the rule; of the twelve kept the latest ten are shown.
    EXPECT_EQ(ink_on_line(45, colour_panel_text), 3u);
    EXPECT_EQ(ink_on_line(45 + 8 * 10, colour_panel_text), 11u);
    EXPECT_EQ(ink_on_line(45 + 9 * 10, colour_panel_latest), 12u);
    EXPECT_EQ(count_colour(panel_left, 136, panel_width, 64, colour_panel_text), 0u);
    EXPECT_EQ(count_colour(panel_left, 136, panel_width, 64, colour_panel_latest), 0u);

    // White's clock running instead; a short game shows all its moves.
    reset_display_state();
    set_dot_glyph('X');
    panel = panel_with_moves(2);
    set_clocks(&panel, side_white);
    draw_side_panel(test_screen(), panel);
    EXPECT_EQ(count_colour(panel_left, 19, panel_width, 10, colour_clock_running), band - 1);
    EXPECT_EQ(ink_on_line(30, colour_panel_text), 2u);
    EXPECT_EQ(ink_on_line(45, colour_panel_text), 1u);
    EXPECT_EQ(ink_on_line(55, colour_panel_latest), 2u);
}

// Without clocks nothing changes: the frames below were drawn before the panel had clocks,
// and clock lines left in a record that does not show them draw nothing.
TEST_F(PanelClocks, WithoutClocksThePanelIsDrawnAsBefore) {
    fill_font_with_patterns();
    side_panel few = panel_with_moves(3);
    std::strcpy(few.heading, "White to move");
    side_panel full = panel_with_moves(40);
    std::strcpy(full.heading, "Black to move");
    full.thinking = true;
    std::strcpy(full.depth_line, "Depth 6");
    std::strcpy(full.rated_line, "12/20");
    full.rated = 12;
    full.to_rate = 20;
    const auto drawn = [](const side_panel &panel) {
        fill_screen(test_screen(), 5);
        draw_side_panel(test_screen(), panel);
        return frame_hash();
    };
    EXPECT_EQ(drawn(few), few_moves_frame);
    EXPECT_EQ(drawn(full), full_panel_frame);
    std::strcpy(full.clock_lines[0], "White 4:53");
    std::strcpy(full.clock_lines[1], "Black 5:00");
    full.running_clock = side_white;
    EXPECT_EQ(drawn(full), full_panel_frame);
}
