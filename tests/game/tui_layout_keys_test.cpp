// The full-screen board's arithmetic: terminal sizes to squares and back from a clicked cell,
// the terminal's bytes read as keys and clicks, and the clocks' readings.
#include "game/tui/tui_keys.h"
#include "game/tui/tui_layout.h"
#include "game/tui/tui_view.h"

#include <gtest/gtest.h>

#include <string>

TEST(TuiLayout, SquaresGrowWithTheTerminalAndEveryCellMapsBack) {
    struct sized {
        int columns, rows, width, height;
    };
    for (const sized s : {sized{80, 24, 5, 2}, sized{120, 40, 9, 4}, sized{60, 20, 3, 1},
                          sized{tui_min_columns, tui_min_rows, 3, 1}}) {
        const tui_layout l = layout_for(s.columns, s.rows);
        ASSERT_TRUE(l.fits) << s.columns << "x" << s.rows;
        EXPECT_EQ(l.square_width, s.width) << s.columns << "x" << s.rows;
        EXPECT_EQ(l.square_height, s.height) << s.columns << "x" << s.rows;
        // The board, its file letters, the panel and the two bottom rows stay on the screen.
        EXPECT_LE(l.board_top + 8 * l.square_height + 1, l.prompt_row);
        EXPECT_EQ(l.message_row, s.rows - 1);
        EXPECT_GE(l.panel_left, l.board_left + 8 * l.square_width);
        EXPECT_GE(l.panel_width, tui_panel_min_width);
        EXPECT_LE(l.panel_left + l.panel_width, s.columns);
        // Every cell of every square leads back to that square, either way up.
        for (const bool flipped : {false, true})
            for (uint8_t row = 0; row < 8; row++)
                for (uint8_t col = 0; col < 8; col++) {
                    int x = 0, y = 0;
                    square_origin(l, flipped, {row, col}, &x, &y);
                    for (int dy = 0; dy < l.square_height; dy++)
                        for (int dx = 0; dx < l.square_width; dx++)
                            EXPECT_EQ(square_at(l, flipped, x + dx, y + dy), (coord{row, col}));
                }
        EXPECT_FALSE(square_at(l, false, 0, 0)); // the rank digits
        EXPECT_FALSE(square_at(l, false, l.panel_left, 0));
        EXPECT_FALSE(square_at(l, false, l.board_left, l.board_top + 8 * l.square_height));
    }
    // a8 is top left; turned, h1 is.
    const tui_layout l = layout_for(80, 24);
    EXPECT_EQ(square_at(l, false, l.board_left, 0), (coord{0, 0}));
    EXPECT_EQ(square_at(l, true, l.board_left, 0), (coord{7, 7}));
    EXPECT_FALSE(layout_for(tui_min_columns - 1, 24).fits);
    EXPECT_FALSE(layout_for(80, tui_min_rows - 1).fits);
    EXPECT_FALSE(layout_for(0, 0).fits);
}

namespace {

std::string kinds(const std::vector<tui_key> &keys) {
    std::string text;
    for (const tui_key &k : keys) {
        switch (k.kind) {
        case tui_key_kind::character:
            text += k.character;
            break;
        case tui_key_kind::enter:
            text += "<enter>";
            break;
        case tui_key_kind::backspace:
            text += "<bs>";
            break;
        case tui_key_kind::escape:
            text += "<esc>";
            break;
        case tui_key_kind::up:
            text += "<up>";
            break;
        case tui_key_kind::down:
            text += "<down>";
            break;
        case tui_key_kind::left:
            text += "<left>";
            break;
        case tui_key_kind::right:
            text += "<right>";
            break;
        case tui_key_kind::click:
            text += "<click " + std::to_string(k.column) + "," + std::to_string(k.row) + ">";
            break;
        }
    }
    return text;
}

std::string read_all(tui_key_reader *reader, const std::string &bytes) {
    return kinds(read_keys(reader, bytes.data(), bytes.size()));
}

} // namespace

TEST(TuiKeys, TypedLinesArrowsAndSgrClicksEvenWhenSplit) {
    tui_key_reader r;
    EXPECT_EQ(read_all(&r, "Nf3\x7f"
                           "3\r"),
              "Nf3<bs>3<enter>");
    EXPECT_EQ(read_all(&r, "\x1b[A\x1b[B\x1bOC\x1b[1;2D"), "<up><down><right><left>");
    // A left press is a click (1-based report, 0-based cell); its release, other buttons,
    // the wheel and moves are not.
    EXPECT_EQ(read_all(&r, "\x1b[<0;12;3M\x1b[<0;12;3m\x1b[<2;5;5M\x1b[<64;5;5M\x1b[<32;5;5M"),
              "<click 11,2>");
    // A report split over reads is kept until whole.
    EXPECT_EQ(read_all(&r, "e\x1b[<0;4"), "e");
    EXPECT_EQ(read_all(&r, "0;10M4"), "<click 39,9>4");
    // A lone Escape is a key once nothing follows; junk and control bytes are dropped.
    EXPECT_EQ(read_all(&r, "\x1b"), "");
    EXPECT_EQ(kinds(flush_keys(&r)), "<esc>");
    EXPECT_EQ(read_all(&r, "\x01\x1b[<0;;M\x1b[<0;0;5M\x1b[99~x"), "x");
    EXPECT_EQ(read_all(&r, "\x1b[" + std::string(40, '1') + "Aq"), "q");
    EXPECT_EQ(read_all(&r, "\x1b[" + std::string(40, '1')), "[" + std::string(40, '1'));
    EXPECT_TRUE(r.pending.empty());
}

TEST(TuiClock, TenthsBelowTwentySecondsHoursFromAnHour) {
    EXPECT_EQ(clock_text(19999), "0:19.9");
    EXPECT_EQ(clock_text(20000), "0:20");
    EXPECT_EQ(clock_text(299999), "4:59");
    EXPECT_EQ(clock_text(3723000), "1:02:03");
    EXPECT_EQ(clock_text(-5), "0:00.0");
}
