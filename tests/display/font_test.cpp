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
    EXPECT_EQ(load_font(test_screen(), write_temp_file("long.fnt", bytes).c_str()), 0);
    EXPECT_EQ(test_screen()->font.chr[0].bitmap[1], 7);
    EXPECT_EQ(test_screen()->font.chr[255].bitmap[7], uint8_t(2047 * 7));
}

TEST_F(Font, ShortOrMissingFileFails) {
    EXPECT_EQ(
        load_font(test_screen(), write_temp_file("short.fnt", std::vector<uint8_t>(2047)).c_str()),
        -1);
    EXPECT_EQ(load_font(test_screen(), write_temp_file("empty.fnt", {}).c_str()), -1);
    EXPECT_EQ(load_font(test_screen(), "/nonexistent-dir/font.fnt"), -1);
    EXPECT_EQ(load_font(test_screen(), "no-such-font-file.fnt"), -1);
}

TEST_F(Font, GlyphBitsMapLeftToRightTopToBottom) {
    test_screen()->font.chr['a'].bitmap[0] = 0x01;
    test_screen()->font.chr['b'].bitmap[0] = 0x80;
    test_screen()->font.chr['c'].bitmap[7] = 0x01;
    draw_chr(test_screen(), 10, 20, 14, 'a');
    draw_chr(test_screen(), 30, 20, 14, 'b');
    draw_chr(test_screen(), 50, 20, 14, 'c');
    EXPECT_EQ(get_pixel(test_screen(), 10, 20), 14);
    EXPECT_EQ(get_pixel(test_screen(), 37, 20), 14);
    EXPECT_EQ(get_pixel(test_screen(), 50, 27), 14);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 14), 3u);
}

TEST_F(Font, ZeroBitsLeaveTheBackgroundAndHighCodesUseTheirOwnGlyph) {
    fill_screen(test_screen(), 6);
    test_screen()->font.chr[200].bitmap[3] = 0x0F;
    draw_chr(test_screen(), 0, 0, 15, 200);
    EXPECT_EQ(count_colour(0, 0, 8, 8, 15), 4u);
    EXPECT_EQ(count_colour(0, 0, 8, 8, 6), 60u);
    draw_chr(test_screen(), 316, 196, 15, 200); // runs off the screen: clipped, no harm
    EXPECT_EQ(count_colour(316, 199, 4, 1, 15), 4u);
}

TEST_F(Font, PrintTextAdvancesNinePixelsAndNewlineGoesDownNine) {
    set_dot_glyph('A');
    set_dot_glyph('B');
    set_dot_glyph('D');
    print_text(test_screen(), 10, 20, 12, "AB\nD");
    EXPECT_EQ(get_pixel(test_screen(), 10, 20), 12);
    EXPECT_EQ(get_pixel(test_screen(), 19, 20), 12);
    EXPECT_EQ(get_pixel(test_screen(), 10, 29), 12);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 12), 3u);
}

TEST_F(Font, TeletypeContinuesAndWrapsPastX310) {
    set_dot_glyph('x');
    teletype_print(test_screen(), 0, 0, 15, std::string(36, 'x').c_str());
    EXPECT_EQ(get_pixel(test_screen(), 306, 0), 15); // 35th letter ends the first line
    EXPECT_EQ(get_pixel(test_screen(), 0, 9), 15);   // the 36th starts the next one
    teletype_print(test_screen(), uint32_t(-1), uint32_t(-1), 15, "x");
    EXPECT_EQ(get_pixel(test_screen(), 9, 9), 15);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 15), 37u);
}

} // namespace
