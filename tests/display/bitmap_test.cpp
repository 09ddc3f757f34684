#include "display/bitmap.h"
#include "display/dbuff.h"
#include "display_test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class Bitmap : public ::testing::Test {
  protected:
    void SetUp() override { reset_display_state(); }
};

struct bitmap make_image(uint8_t w, uint8_t h, std::vector<uint8_t> &pixels) {
    return {h, w, pixels.data()};
}

TEST_F(Bitmap, LoadsASpriteFile) {
    struct bitmap image {};
    uint8_t w = 0, h = 0;
    std::string path = write_temp_file("two.spr", {2, 1, 5, 255, 99});
    ASSERT_EQ(load_bitmap(path.c_str(), &image, &w, &h), 0);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(recall_pixel(&image, 0, 0), 5);
    EXPECT_EQ(recall_pixel(&image, 1, 0), 255);
    std::free(image.bitmap);
}

TEST_F(Bitmap, MissingFileLeavesEverythingUntouched) {
    struct bitmap image {};
    uint8_t w = 42, h = 43;
    EXPECT_EQ(load_bitmap("/nonexistent-dir/pawn.spr", &image, &w, &h), 1);
    EXPECT_EQ(w, 42);
    EXPECT_EQ(h, 43);
    EXPECT_EQ(image.bitmap, nullptr);
    draw_bitmap(test_screen(), 0, 0, &image); // an empty image draws nothing
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 0), 64000u);
}

TEST_F(Bitmap, DamagedSpriteFilesEndTheProcessWithAMessage) {
    const std::vector<std::vector<uint8_t>> damaged = {
        {3, 2, 1, 2, 3, 4, 5}, // one pixel short
        {0, 5},                // no width
        {5, 0},                // no height
        {4},                   // no height byte
        {},                    // empty file
    };
    for (size_t i = 0; i < damaged.size(); i++) {
        std::string path = write_temp_file("bad" + std::to_string(i) + ".spr", damaged[i]);
        struct bitmap image {};
        uint8_t w, h;
        EXPECT_EQ(load_bitmap(path.c_str(), &image, &w, &h), bitmap_damaged) << "file " << i;
        std::free(image.bitmap);
    }
}

TEST_F(Bitmap, StorePixelRefusesPositionsOutsideTheImage) {
    std::vector<uint8_t> pixels(6, 0);
    struct bitmap image = make_image(3, 2, pixels);
    EXPECT_EQ(store_pixel(&image, 2, 1, 9), 0);
    EXPECT_EQ(pixels[5], 9);
    EXPECT_EQ(store_pixel(&image, 3, 0, 9), 1);
    EXPECT_EQ(store_pixel(&image, 0, 2, 9), 1);
    fill_bitmap(&image, 4);
    for (uint8_t p : pixels) EXPECT_EQ(p, 4);
}

TEST_F(Bitmap, FirstImageOfABatchKeepsItsPixels) {
    std::vector<uint8_t> front_pixels = {12, 255, 12, 12};
    std::vector<uint8_t> back_pixels = {3, 3, 3, 3};
    struct bitmap front = make_image(2, 2, front_pixels), back = make_image(2, 2, back_pixels);
    fill_screen(test_screen(), 1);
    draw_bitmap(test_screen(), 10, 10, &front);
    draw_bitmap(test_screen(), 10, 10, &back);
    EXPECT_EQ(get_pixel(test_screen(), 10, 10), 12);
    EXPECT_EQ(get_pixel(test_screen(), 11, 10), 3); // transparent in front: the back image shows
    EXPECT_EQ(get_pixel(test_screen(), 10, 11), 12);
    EXPECT_EQ(get_pixel(test_screen(), 11, 11), 12);
    EXPECT_EQ(get_pixel(test_screen(), 12, 10), 1);
}

TEST_F(Bitmap, TransparentPixelsNeitherDrawNorClaim) {
    std::vector<uint8_t> pixels = {255};
    struct bitmap image = make_image(1, 1, pixels);
    fill_screen(test_screen(), 6);
    draw_bitmap(test_screen(), 5, 5, &image);
    EXPECT_EQ(get_pixel(test_screen(), 5, 5), 6);
    EXPECT_EQ(pixel_is_used(test_screen(), 5, 5), 0);
}

TEST_F(Bitmap, MaskTreatsOffScreenAsUsed) {
    EXPECT_NE(pixel_is_used(test_screen(), 0, 200), 0);
    mark_pixel_used(test_screen(), 0, 200);
    for (uint8_t b : test_screen()->usedpixels) ASSERT_EQ(b, 0);
    mark_pixel_used(test_screen(), 9, 1);
    EXPECT_EQ(test_screen()->usedpixels[41], 0x02);
    EXPECT_NE(pixel_is_used(test_screen(), 9, 1), 0);
    EXPECT_EQ(pixel_is_used(test_screen(), 8, 1), 0);
}

TEST_F(Bitmap, AnImagePastTheRightEdgeLeavesTheNextRowToLaterImages) {
    // Pixel (320, 5) would share its mask bit with (0, 6), and (330, 5) with (10, 6).
    EXPECT_NE(pixel_is_used(test_screen(), 320, 5), 0);
    mark_pixel_used(test_screen(), 330, 5);
    mark_pixel_used(test_screen(), 5, 0xFFFFFFFFu); // its index would wrap round to a small number
    for (uint8_t b : test_screen()->usedpixels) ASSERT_EQ(b, 0);

    std::vector<uint8_t> wide_pixels(16, 12), small_pixels = {3, 3};
    struct bitmap wide = make_image(16, 1, wide_pixels), small = make_image(2, 1, small_pixels);
    fill_screen(test_screen(), 1);
    draw_bitmap(test_screen(), 316, 5, &wide);
    draw_bitmap(test_screen(), 0, 6, &small);
    EXPECT_EQ(count_colour(316, 5, 4, 1, 12), 4u);
    EXPECT_EQ(count_colour(0, 6, 2, 1, 3), 2u);
    EXPECT_EQ(count_colour(0, 6, screen_width, 1, 12), 0u);
}

} // namespace
