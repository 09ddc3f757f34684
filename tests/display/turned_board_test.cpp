// The board turned for Black, the last move's frame and the side panel, as drawn into the
// frame buffer.
#include "display/board_view.h"
#include "display/dbuff.h"
#include "display/draw_queue.h"
#include "display/fonts.h"
#include "display/side_panel.h"
#include "display_test_support.h"
#include "rules/board_queries.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class TurnedBoard : public ::testing::Test {
  protected:
    void SetUp() override { reset_display_state(); }
    void TearDown() override { test_screen()->flipped = false; }
};

constexpr unsigned frame_pixels = 24 * 24 - 20 * 20; // a 2-pixel frame along the edge

TEST_F(TurnedBoard, LabelsSquaresAndMarkersTurnWithThePicture) {
    for (uint8_t chr : {'1', '8', 'A', 'H'}) set_dot_glyph(chr);
    const coord e4{4, 4};
    const last_move_squares e2_e4{{6, 4}, e4};

    test_screen()->flipped = true;
    draw_board_view(test_screen(), &e4, 1, 7, 7, e2_e4);
    // Rank 1 at the top, file h at the left.
    EXPECT_EQ(get_pixel(test_screen(), 0, 9), 15);
    EXPECT_EQ(get_pixel(test_screen(), 0, 177), 15);
    EXPECT_EQ(get_pixel(test_screen(), 16, 192), 15);
    EXPECT_EQ(get_pixel(test_screen(), 184, 192), 15);
    EXPECT_EQ(count_colour(0, 0, 8, 192, 15), 2u);
    EXPECT_EQ(count_colour(8, 192, 192, 8, 15), 2u);
    // The cursor on h1 in the top-left square, the marker on e4 in row 3, column 3.
    EXPECT_EQ(count_colour(10, 2, 20, 20, colour_cursor), 400u);
    EXPECT_EQ(count_colour(86, 78, 12, 12, colour_destination), 144u);
    // e2 and e4 framed (rows 1 and 3 of column 3), the marker inside e4's frame intact.
    EXPECT_EQ(count_colour(80, 24, 24, 24, colour_last_move), frame_pixels);
    EXPECT_EQ(count_colour(80, 72, 24, 24, colour_last_move), frame_pixels);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, colour_last_move), 2 * frame_pixels);
    // The square colours keep their pattern: a8 (now bottom right) and h1 light, a1 dark.
    EXPECT_EQ(count_colour(176, 168, 24, 24, colour_light_square), 576u);
    EXPECT_EQ(count_colour(176, 0, 24, 24, colour_dark_square), 576u);

    reset_display_state();
    for (uint8_t chr : {'1', '8', 'A', 'H'}) set_dot_glyph(chr);
    test_screen()->flipped = false;
    draw_board_view(test_screen(), &e4, 1, 7, 7, e2_e4);
    EXPECT_EQ(get_pixel(test_screen(), 0, 9), 15); // now rank 8
    EXPECT_EQ(count_colour(178, 170, 20, 20, colour_cursor), 400u);
    EXPECT_EQ(count_colour(110, 102, 12, 12, colour_destination), 144u);
    EXPECT_EQ(count_colour(104, 144, 24, 24, colour_last_move), frame_pixels);
    EXPECT_EQ(count_colour(104, 96, 24, 24, colour_last_move), frame_pixels);
}

TEST_F(TurnedBoard, TheFrameLeavesTheCursorWhole) {
    const coord e2{6, 4};
    draw_board_view(test_screen(), nullptr, 0, e2.row, e2.col, {e2, {4, 4}});
    EXPECT_EQ(count_colour(106, 146, 20, 20, colour_cursor), 400u);
    EXPECT_EQ(count_colour(104, 144, 24, 24, colour_last_move), frame_pixels);
}

TEST_F(TurnedBoard, PiecesAreQueuedAtTheTurnedSquares) {
    std::vector<uint8_t> px(4, 15);
    struct bitmap dummy {
        2, 2, px.data()
    };
    test_screen()->pieces.white_king = test_screen()->pieces.black_pawn = dummy;
    test_screen()->flipped = true;
    queue_piece_sprite(test_screen(), 7, 4, type_king);                     // e1
    queue_piece_sprite(test_screen(), 1, 0, black_bit | type_pawn_unmoved); // a7
    ASSERT_EQ(test_screen()->sprite_count, 2);
    EXPECT_EQ(test_screen()->sprites[0].x, 82u); // the picture's row 0, column 3
    EXPECT_EQ(test_screen()->sprites[0].y, 1u);
    EXPECT_EQ(test_screen()->sprites[1].x, 178u); // row 6, column 7; pawns two pixels down
    EXPECT_EQ(test_screen()->sprites[1].y, 146u);
    test_screen()->pieces.white_king = test_screen()->pieces.black_pawn = {};
}

side_panel panel_with(unsigned moves) {
    side_panel panel{};
    std::strcpy(panel.heading, "X");
    for (unsigned i = 0; i < moves && i < panel_move_lines; i++) std::strcpy(panel.moves[i], "X");
    panel.move_count = uint8_t(moves);
    return panel;
}

TEST_F(TurnedBoard, PanelDrawsOnlyBesideTheBoard) {
    set_dot_glyph('X');
    fill_screen(test_screen(), 5);
    side_panel panel = panel_with(3);
    draw_side_panel(test_screen(), panel);
    EXPECT_EQ(count_colour(0, 0, panel_left, screen_height, 5), panel_left * screen_height);
    EXPECT_EQ(get_pixel(test_screen(), 202, 4), colour_panel_text); // heading
    EXPECT_EQ(get_pixel(test_screen(), 202, 20), colour_panel_text);
    EXPECT_EQ(get_pixel(test_screen(), 202, 30), colour_panel_text);
    EXPECT_EQ(get_pixel(test_screen(), 202, 40), colour_panel_latest); // the latest move stands out
    EXPECT_EQ(get_pixel(test_screen(), 202, 50), colour_screen_fill);
    // Without a search nothing is drawn below the moves.
    EXPECT_EQ(count_colour(panel_left, 50, panel_width, 150, colour_screen_fill), 120u * 150u);
}

TEST_F(TurnedBoard, PanelShowsAtMostItsLinesAndTheSearchBar) {
    side_panel panel = panel_with(40); // more than it has lines for
    panel.thinking = true;
    std::strcpy(panel.depth_line, "X");
    std::strcpy(panel.rated_line, "X");
    const unsigned bar = panel_bar_width * panel_bar_height;
    auto drawn_bar = [&](int rated, int to_rate) {
        reset_display_state();
        set_dot_glyph('X');
        set_dot_glyph('T'); // of "Thinking..."
        panel.rated = rated;
        panel.to_rate = to_rate;
        draw_side_panel(test_screen(), panel);
        return count_colour(panel_left, panel_bar_top, panel_width, panel_bar_height,
                            colour_bar_done);
    };
    EXPECT_EQ(drawn_bar(5, 10), bar / 2);
    EXPECT_EQ(
        count_colour(panel_left, panel_bar_top, panel_width, panel_bar_height, colour_bar_empty),
        bar / 2);
    EXPECT_EQ(get_pixel(test_screen(), 202, 20 + 11 * 10),
              colour_panel_latest); // the 12th line, last
    EXPECT_EQ(count_colour(panel_left, 140, panel_width, 16, colour_panel_text), 0u);
    EXPECT_EQ(get_pixel(test_screen(), 202, 156), colour_panel_latest); // Thinking...
    EXPECT_EQ(get_pixel(test_screen(), 202, 166), colour_panel_text);
    EXPECT_EQ(get_pixel(test_screen(), 202, 176), colour_panel_text);
    EXPECT_EQ(drawn_bar(0, 10), 0u);
    EXPECT_EQ(drawn_bar(10, 10), bar);
    EXPECT_EQ(drawn_bar(30, 10), bar); // never past its end
    EXPECT_EQ(drawn_bar(3, 0), 0u);    // a pass without moves
}

} // namespace
