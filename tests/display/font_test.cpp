#include "display/dbuff.h"
#include "display/fonts.h"
#include "display_test_support.h"

#include <gtest/gtest.h>

namespace {

class Font : public ::testing::Test {
  protected:
    void SetUp() override { reset_display_state(); }
};

TEST_F(Font, LoadsExactlyTheFirst2048Bytes) {
    std::vector<uint8_t> bytes(2049);
    for (size_t i = 0; i < bytes.size(); i++) bytes[i] = uint8_t(i * 7);
    EXPECT_EQ(load_font(write_temp_file("long.fnt", bytes).c_str()), 0);
    EXPECT_EQ(font.chr[0].bitmap[1], 7);
    EXPECT_EQ(font.chr[255].bitmap[7], uint8_t(2047 * 7));
}

TEST_F(Font, ShortOrMissingFileFails) {
    EXPECT_EQ(load_font(write_temp_file("short.fnt", std::vector<uint8_t>(2047)).c_str()), -1);
    EXPECT_EQ(load_font(write_temp_file("empty.fnt", {}).c_str()), -1);
    EXPECT_EQ(load_font("/nonexistent-dir/font.fnt"), -1);
    EXPECT_EQ(load_font("no-such-font-file.fnt"), -1);
}

TEST_F(Font, GlyphBitsMapLeftToRightTopToBottom) {
    font.chr['a'].bitmap[0] = 0x01;
    font.chr['b'].bitmap[0] = 0x80;
    font.chr['c'].bitmap[7] = 0x01;
    draw_chr(10, 20, 14, 'a');
    draw_chr(30, 20, 14, 'b');
    draw_chr(50, 20, 14, 'c');
    EXPECT_EQ(get_pixel(10, 20), 14);
    EXPECT_EQ(get_pixel(37, 20), 14);
    EXPECT_EQ(get_pixel(50, 27), 14);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 14), 3u);
}

TEST_F(Font, ZeroBitsLeaveTheBackgroundAndHighCodesUseTheirOwnGlyph) {
    fill_screen(6);
    font.chr[200].bitmap[3] = 0x0F;
    draw_chr(0, 0, 15, 200);
    EXPECT_EQ(count_colour(0, 0, 8, 8, 15), 4u);
    EXPECT_EQ(count_colour(0, 0, 8, 8, 6), 60u);
    draw_chr(316, 196, 15, 200); // runs off the screen: clipped, no harm
    EXPECT_EQ(count_colour(316, 199, 4, 1, 15), 4u);
}

TEST_F(Font, PrintTextAdvancesNinePixelsAndNewlineGoesDownNine) {
    set_dot_glyph('A');
    set_dot_glyph('B');
    set_dot_glyph('D');
    print_text(10, 20, 12, "AB\nD");
    EXPECT_EQ(get_pixel(10, 20), 12);
    EXPECT_EQ(get_pixel(19, 20), 12);
    EXPECT_EQ(get_pixel(10, 29), 12);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 12), 3u);
}

TEST_F(Font, TeletypeContinuesAndWrapsPastX310) {
    set_dot_glyph('x');
    teletype_print(0, 0, 15, std::string(36, 'x').c_str());
    EXPECT_EQ(get_pixel(306, 0), 15); // 35th letter ends the first line
    EXPECT_EQ(get_pixel(0, 9), 15);   // the 36th starts the next one
    teletype_print(uint32_t(-1), uint32_t(-1), 15, "x");
    EXPECT_EQ(get_pixel(9, 9), 15);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 15), 37u);
}

} // namespace
