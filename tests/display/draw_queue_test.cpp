#include "display/draw_queue.h"
#include "display/fonts.h"
#include "display_test_support.h"

#include <gtest/gtest.h>

namespace {

class DrawQueue : public ::testing::Test {
  protected:
    void SetUp() override { reset_display_state(); }
};

TEST_F(DrawQueue, EntriesAreDrawnNearestFirstEqualDistancesInPushOrder) {
    // Four one-pixel images on the same spot: the one drawn first owns the pixel.
    std::vector<uint8_t> p5 = {5}, p1a = {1}, p3 = {3}, p1b = {9};
    struct bitmap i5 {
        1, 1, p5.data()
    }, i1a{1, 1, p1a.data()}, i3{1, 1, p3.data()}, i1b{1, 1, p1b.data()};
    push_scrbitmap(test_screen(), 0, 0, &i5, 5);
    push_scrbitmap(test_screen(), 0, 0, &i1a, 1);
    push_scrbitmap(test_screen(), 0, 0, &i3, 3);
    push_scrbitmap(test_screen(), 0, 0, &i1b, 1);
    ASSERT_EQ(test_screen()->sprite_count, 4);
    EXPECT_EQ(test_screen()->sprites[0].bitmap, &i1a);
    EXPECT_EQ(test_screen()->sprites[1].bitmap, &i1b);
    EXPECT_EQ(test_screen()->sprites[2].bitmap, &i3);
    EXPECT_EQ(test_screen()->sprites[3].bitmap, &i5);
    draw_screen_sprites(test_screen());
    EXPECT_EQ(get_pixel(test_screen(), 0, 0), 1);
    EXPECT_EQ(test_screen()->sprite_count, 0);
}

TEST_F(DrawQueue, NearImageHidesFarImageWhateverTheVisitingOrder) {
    std::vector<uint8_t> near_px(4, 12), far_px(16, 3);
    struct bitmap near_img {
        2, 2, near_px.data()
    }, far_img{4, 4, far_px.data()};
    push_scrbitmap(test_screen(), 0, 0, &far_img, 9);
    push_scrbitmap(test_screen(), 1, 1, &near_img, 2);
    draw_screen_sprites(test_screen());
    EXPECT_EQ(count_colour(1, 1, 2, 2, 12), 4u);
    EXPECT_EQ(count_colour(0, 0, 4, 4, 3), 12u);
}

TEST_F(DrawQueue, The65thPushIsDroppedAndEachBatchStartsWithAClearMask) {
    std::vector<uint8_t> px = {7};
    struct bitmap image {
        1, 1, px.data()
    };
    for (unsigned i = 0; i < sprite_stack_size; i++) push_scrbitmap(test_screen(), i, 0, &image, 0);
    push_scrbitmap(test_screen(), 100, 0, &image, 0);
    EXPECT_EQ(test_screen()->sprite_count, sprite_stack_size);
    EXPECT_EQ(find_scrsprite_index(test_screen(), 0), sprite_stack_full);
    draw_screen_sprites(test_screen());
    EXPECT_EQ(count_colour(0, 0, 64, 1, 7), 64u);
    EXPECT_EQ(get_pixel(test_screen(), 100, 0), 0);

    // The next batch may draw over the last one's pixels.
    std::vector<uint8_t> px2 = {4};
    struct bitmap image2 {
        1, 1, px2.data()
    };
    push_scrbitmap(test_screen(), 0, 0, &image2, 0);
    draw_screen_sprites(test_screen());
    EXPECT_EQ(get_pixel(test_screen(), 0, 0), 4);
}

TEST_F(DrawQueue, TextsAreDrawnLastPushedFirstAndTheQueueHolds32) {
    test_screen()->font.chr['A'].bitmap[0] = 0x01;
    test_screen()->font.chr['B'].bitmap[0] = 0x01;
    push_text(test_screen(), 0, 0, 12, "A");
    push_text(test_screen(), 0, 0, 13, "B");
    draw_screen_texts(test_screen());
    EXPECT_EQ(get_pixel(test_screen(), 0, 0), 12); // A was pushed first and so drawn last, on top
    EXPECT_EQ(test_screen()->text_count, 0);
    for (unsigned i = 0; i < screen_text_size + 1; i++) push_text(test_screen(), i * 9, 10, 9, "A");
    EXPECT_EQ(test_screen()->text_count, screen_text_size);
    draw_screen_texts(test_screen());
    EXPECT_EQ(count_colour(0, 10, screen_width, 1, 9), screen_text_size);
}

} // namespace
