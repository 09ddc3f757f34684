// The data files that the build makes: the converted font and the compiled sprites.
#include "display/bitmap.h"
#include "display/board_view.h"
#include "display/fonts.h"
#include "display_test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

std::string built(const char *name) {
    return std::string(VARTOK_BUILT_DATA_DIR "/") + name;
}

bool has_ink(uint8_t chr) {
    for (uint8_t row : test_screen()->font.chr[chr].bitmap)
        if (row) return true;
    return false;
}

TEST(DataFiles, FontHasEveryPrintableCharacter) {
    reset_display_state();
    ASSERT_EQ(load_font(test_screen(), built("font.fnt").c_str()), 0);
    EXPECT_FALSE(has_ink(' '));
    for (unsigned c = '!'; c <= '~'; c++) EXPECT_TRUE(has_ink(uint8_t(c))) << char(c);
    // Bit 0 is the leftmost pixel: the stem of an L is on the left.
    uint8_t stem = 0;
    for (uint8_t row : test_screen()->font.chr['L'].bitmap) stem |= row;
    EXPECT_TRUE(stem & 0x03);
    EXPECT_EQ(test_screen()->font.chr['L'].bitmap[1] & 0xC0, 0);
}

TEST(DataFiles, SpritesFitTheirSquaresInTheRecolourableColours) {
    for (const char *name :
         {"pawn.spr", "bishop.spr", "rook.spr", "knight.spr", "queen.spr", "king.spr"}) {
        struct bitmap image {};
        uint8_t w, h;
        ASSERT_EQ(load_bitmap(built(name).c_str(), &image, &w, &h), 0) << name;
        unsigned top = std::string(name) == "pawn.spr" ? pawn_inset_y : piece_inset_y;
        EXPECT_LE(piece_inset_x + w, tile_pixels) << name;
        EXPECT_LE(top + h, tile_pixels) << name;
        std::set<uint8_t> colours(image.bitmap, image.bitmap + w * h);
        EXPECT_EQ(colours, (std::set<uint8_t>{7, 8, 15, transparent_pixel})) << name;
        // The black copy keeps no white at all, so the sides never look alike.
        recolour_black(&image);
        std::set<uint8_t> black(image.bitmap, image.bitmap + w * h);
        EXPECT_EQ(black.count(15), 0u) << name;
        std::free(image.bitmap);
    }
}

} // namespace
