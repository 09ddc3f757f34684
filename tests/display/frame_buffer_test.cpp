#include "display/dbuff.h"
#include "display_test_support.h"

#include <gtest/gtest.h>

namespace {

class FrameBuffer : public ::testing::Test {
  protected:
    void SetUp() override { reset_display_state(); }
};

// Exactly the pixels inside the rectangle have colour k, everything else colour 0.
void expect_only_rectangle(unsigned x, unsigned y, unsigned w, unsigned h, uint8_t k) {
    for (unsigned yy = 0; yy < screen_height; yy++)
        for (unsigned xx = 0; xx < screen_width; xx++) {
            bool inside = xx >= x && xx < x + w && yy >= y && yy < y + h;
            ASSERT_EQ(get_pixel(test_screen(), xx, yy), inside ? k : 0) << "at " << xx << "," << yy;
        }
}

TEST_F(FrameBuffer, PixelBitsLandInThePlanesLeftmostPixelInBitZero) {
    put_pixel(test_screen(), 0, 0, 9); // intensity and blue: planes 0 and 3
    EXPECT_EQ(test_screen()->dbuff[0], 0x01);
    EXPECT_EQ(test_screen()->dbuff[plane_size], 0);
    EXPECT_EQ(test_screen()->dbuff[2 * plane_size], 0);
    EXPECT_EQ(test_screen()->dbuff[3 * plane_size], 0x01);
    put_pixel(test_screen(), 7, 0, 15);
    EXPECT_EQ(test_screen()->dbuff[0], 0x81);
    put_pixel(test_screen(), 8, 1, 4);
    EXPECT_EQ(test_screen()->dbuff[plane_size + 41], 0x01);

    uint8_t mask;
    EXPECT_EQ(dbuff_offset(319, 199, &mask), 7999u);
    EXPECT_EQ(mask, 0x80);
}

TEST_F(FrameBuffer, PutPixelTakesTheExactColourAndIgnoresOffScreen) {
    fill_screen(test_screen(), 15);
    put_pixel(test_screen(), 100, 50, 0x36); // only the low four bits count
    EXPECT_EQ(get_pixel(test_screen(), 100, 50), 6);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 15), 64000u - 1);
    put_pixel(test_screen(), 320, 0, 0);
    put_pixel(test_screen(), 0, 200, 0);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 15), 64000u - 1);
}

TEST_F(FrameBuffer, FillScreenSetsOnlyThePlanesOfItsColourBits) {
    fill_screen(test_screen(), 15);
    for (unsigned i = 0; i < dbuff_size; i++) ASSERT_EQ(test_screen()->dbuff[i], 0xFF);
    fill_screen(test_screen(), 1);
    for (unsigned i = 0; i < dbuff_size; i++)
        ASSERT_EQ(test_screen()->dbuff[i], i >= 3 * plane_size ? 0xFF : 0);
    fill_screen(test_screen(), 0);
    for (unsigned i = 0; i < dbuff_size; i++) ASSERT_EQ(test_screen()->dbuff[i], 0);
}

TEST_F(FrameBuffer, RectanglesAreClippedToTheScreen) {
    draw_rectangle(test_screen(), -5, -5, 10, 10, 12);
    expect_only_rectangle(0, 0, 5, 5, 12);
    reset_display_state();
    draw_rectangle(test_screen(), 300, 190, 50, 50, 3);
    expect_only_rectangle(300, 190, 20, 10, 3);
}

TEST_F(FrameBuffer, RectangleEdgesWithinAndAcrossBytes) {
    draw_rectangle(test_screen(), 2, 0, 3, 1, 7);
    expect_only_rectangle(2, 0, 3, 1, 7);
    reset_display_state();
    draw_rectangle(test_screen(), 8, 0, 24, 24, 15);
    for (unsigned row = 0; row < 24; row++)
        for (unsigned b = 0; b < plane_row_bytes; b++)
            ASSERT_EQ(test_screen()->dbuff[row * plane_row_bytes + b],
                      (b >= 1 && b <= 3) ? 0xFF : 0);
    reset_display_state();
    draw_rectangle(test_screen(), 5, 3, 13, 2, 10); // both edges partial, one whole byte between
    expect_only_rectangle(5, 3, 13, 2, 10);
}

TEST_F(FrameBuffer, RectangleClearsBitsOfZeroPlanes) {
    fill_screen(test_screen(), 15);
    draw_rectangle(test_screen(), 3, 3, 20, 4, 1);
    EXPECT_EQ(count_colour(3, 3, 20, 4, 1), 80u);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 15), 64000u - 80);
}

TEST_F(FrameBuffer, RectanglesWhollyOffScreenOrEmptyDrawNothing) {
    draw_rectangle(test_screen(), 320, 0, 5, 5, 15);
    draw_rectangle(test_screen(), 0, 200, 5, 5, 15);
    draw_rectangle(test_screen(), -30, 0, 24, 10, 15);
    draw_rectangle(test_screen(), 0, -10, 5, 10, 15);
    draw_rectangle(test_screen(), 10, 10, 0, 5, 15);
    draw_rectangle(test_screen(), 10, 10, 5, 0, 15);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 0), 64000u);
}

} // namespace
