#include "display/dbuff.h"
#include "display/fonts.h"
#include "display/message_box.h"
#include "display/side_panel.h"
#include "display_test_support.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Every glyph but the space is one dot in its top-left corner, so each drawn character
// shows as exactly one colour-15 pixel at its cell.
class MessageBox : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_display_state();
        for (unsigned c = 0; c < glyph_count; c++)
            if (c != ' ') set_dot_glyph(uint8_t(c));
        fill_screen(test_screen(), 1);
    }
};

// Number of character dots on text line `line`.
unsigned dots_on_line(unsigned line) {
    return count_colour(0, box_line_top + line * box_line_height, screen_width, 1, 15);
}

unsigned box_bottom() {
    unsigned y = 0;
    for (unsigned yy = 0; yy < screen_height; yy++)
        if (get_pixel(test_screen(), box_left, yy) == 4) y = yy;
    return y;
}

TEST_F(MessageBox, OneLineMessage) {
    EXPECT_EQ(draw_message_box(test_screen(), "That move is not legal."), 1u);
    EXPECT_EQ(get_pixel(test_screen(), box_left, 29), 1);
    EXPECT_EQ(get_pixel(test_screen(), box_left, 30), 4);
    EXPECT_EQ(box_bottom(), 59u);
    EXPECT_EQ(get_pixel(test_screen(), 279, 45), 4);
    EXPECT_EQ(get_pixel(test_screen(), 280, 45), 1);
    EXPECT_EQ(get_pixel(test_screen(), 50, 40), 15); // 'T'
    EXPECT_EQ(dots_on_line(0), 19u);                 // 23 characters, 4 of them spaces
}

// With the panel's clocks shown the box starts under their rule: nothing above it is drawn.
TEST_F(MessageBox, BelowTheClocksLeavesThemInSight) {
    EXPECT_EQ(draw_message_box(test_screen(), "That move is not legal.", true), 1u);
    EXPECT_EQ(count_colour(0, 0, screen_width, panel_clocks_rule_top + 1, 4), 0u);
    EXPECT_EQ(get_pixel(test_screen(), box_left, box_top + box_drop_below_clocks), 4);
    EXPECT_EQ(box_bottom(), 59u + box_drop_below_clocks);
}

TEST_F(MessageBox, WrapsAtSpacesAndContinuationLinesStartWithTheSpace) {
    EXPECT_EQ(draw_message_box(test_screen(), "There are no legal moves for this piece."), 2u);
    EXPECT_EQ(get_pixel(test_screen(), 257, 40), 15); // the s of moves ends line one
    EXPECT_EQ(get_pixel(test_screen(), 266, 40), 4);
    EXPECT_EQ(get_pixel(test_screen(), 59, 50), 15); // line two: a space, then "for"
    EXPECT_EQ(get_pixel(test_screen(), 50, 50), 4);

    fill_screen(test_screen(), 1);
    EXPECT_EQ(
        draw_message_box(test_screen(),
                         "This pawn must be ascended. Select: [Q]ueen, [K]night, [B]ishop, [R]ook"),
        4u);
    EXPECT_EQ(box_bottom(), 89u);
    EXPECT_EQ(dots_on_line(0), 14u); // This pawn must be
    EXPECT_EQ(dots_on_line(1), 16u); // " ascended. Select:"
    EXPECT_EQ(dots_on_line(2), 17u); // " [Q]ueen, [K]night,"
    EXPECT_EQ(dots_on_line(3), 15u); // " [B]ishop, [R]ook"
}

TEST_F(MessageBox, LastWordIsNeverMovedAndIsClippedAtTheScreenEdge) {
    std::string text = "Go " + std::string(40, 'w');
    EXPECT_EQ(draw_message_box(test_screen(), text.c_str()), 1u);
    EXPECT_EQ(dots_on_line(0), 2u + 27u); // the rest of the word lies beyond x 319
}

TEST_F(MessageBox, AWordTooLongForAnyLineDoesNotStall) {
    std::string word(30, 'x');
    std::string text = "a " + word + " b " + word + " c";
    unsigned lines = draw_message_box(test_screen(), text.c_str());
    EXPECT_EQ(lines, 4u);           // the last space never breaks: " c" stays on line four
    EXPECT_EQ(dots_on_line(0), 1u); // "a"
    EXPECT_EQ(get_pixel(test_screen(), 59, 50), 15); // the long word follows the space at x 50
    EXPECT_EQ(dots_on_line(2), 1u);                  // " b"
}

TEST_F(MessageBox, EmptyMessageStillShowsTheBoxAndControlCharactersShowTheirGlyph) {
    EXPECT_EQ(draw_message_box(test_screen(), ""), 1u);
    EXPECT_EQ(box_bottom(), 59u);
    fill_screen(test_screen(), 1);
    draw_message_box(test_screen(), "ok\n");
    EXPECT_EQ(dots_on_line(0), 3u);
}

TEST_F(MessageBox, LinesBelowTheScreenAreClipped) {
    std::string text;
    for (int i = 0; i < 40; i++) text += "word word word word word ";
    unsigned lines = draw_message_box(test_screen(), text.c_str());
    EXPECT_GT(lines, 16u);
    EXPECT_EQ(get_pixel(test_screen(), box_left, 199), 4);
}

} // namespace
