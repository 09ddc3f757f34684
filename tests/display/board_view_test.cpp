#include "display/board_view.h"
#include "display/dbuff.h"
#include "display/draw_queue.h"
#include "display/fonts.h"
#include "display_test_support.h"
#include "rules/board_queries.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class BoardView : public ::testing::Test {
  protected:
    void SetUp() override { reset_display_state(); }
};

struct bitmap *const all_piece_images[] = {
    &test_screen()->pieces.white_pawn,  &test_screen()->pieces.white_bishop,
    &test_screen()->pieces.white_rook,  &test_screen()->pieces.white_knight,
    &test_screen()->pieces.white_queen, &test_screen()->pieces.white_king,
    &test_screen()->pieces.black_pawn,  &test_screen()->pieces.black_bishop,
    &test_screen()->pieces.black_rook,  &test_screen()->pieces.black_knight,
    &test_screen()->pieces.black_queen, &test_screen()->pieces.black_king};

// Frees the images that a test loaded (the game itself keeps them until it ends).
void release_loaded_images() {
    for (struct bitmap *b : all_piece_images) {
        std::free(b->bitmap);
        *b = {};
    }
}

std::vector<uint8_t> recoloured(uint8_t w, uint8_t h, std::vector<uint8_t> pixels) {
    struct bitmap image {
        h, w, pixels.data()
    };
    recolour_black(&image);
    return pixels;
}

TEST(BlackRecolouring, BodyDithersFromTheBottomRowOutlinesTurnBlack) {
    EXPECT_EQ(recoloured(3, 1, {15, 15, 15}), (std::vector<uint8_t>{8, 7, 8}));
    // Rows from the bottom up, the counter running on across rows.
    EXPECT_EQ(recoloured(2, 2, {15, 15, 15, 3}), (std::vector<uint8_t>{7, 8, 8, 3}));
    EXPECT_EQ(recoloured(4, 1, {7, 8, 255, 6}), (std::vector<uint8_t>{0, 0, 255, 6}));
}

TEST_F(BoardView, PiecesAreQueuedAtTheirSquaresStartingPosition) {
    std::vector<uint8_t> px(4, 15);
    struct bitmap dummy {
        2, 2, px.data()
    };
    for (struct bitmap *b : {&test_screen()->pieces.white_pawn, &test_screen()->pieces.white_king,
                             &test_screen()->pieces.black_pawn, &test_screen()->pieces.black_rook})
        *b = dummy;
    board start;
    set_starting_position(&start);
    for (unsigned row = 0; row < 8; row++)
        for (unsigned col = 0; col < 8; col++)
            if (start.tiles[row][col])
                queue_piece_sprite(test_screen(), row, col, start.tiles[row][col]);
    ASSERT_EQ(test_screen()->sprite_count, 32);
    auto queued_at = [](uint32_t x, uint32_t y) {
        for (unsigned i = 0; i < test_screen()->sprite_count; i++)
            if (test_screen()->sprites[i].x == x && test_screen()->sprites[i].y == y)
                return test_screen()->sprites[i].bitmap;
        return static_cast<struct bitmap *>(nullptr);
    };
    EXPECT_EQ(queued_at(106, 169),
              &test_screen()->pieces.white_king);                    // e1: one pixel below the top
    EXPECT_EQ(queued_at(10, 26), &test_screen()->pieces.black_pawn); // a7: pawns two pixels below
    EXPECT_EQ(queued_at(10, 1), &test_screen()->pieces.black_rook);
    EXPECT_EQ(queued_at(178, 146), &test_screen()->pieces.white_pawn); // h2
    // Queued square by square from a8 to h1.
    EXPECT_EQ(test_screen()->sprites[0].x, 10u);
    EXPECT_EQ(test_screen()->sprites[31].x, 178u);
    queue_piece_sprite(test_screen(), 3, 3, 0); // an empty square queues nothing
    EXPECT_EQ(test_screen()->sprite_count, 32);
    for (struct bitmap *b : all_piece_images) *b = {}; // they point into this test's vector
}

TEST_F(BoardView, SquaresLabelsMarkersAndCursorGeometry) {
    set_dot_glyph('1');
    set_dot_glyph('H');
    const coord list[] = {{5, 4}, {4, 4}, {7, 7}};
    draw_board_view(test_screen(), list, 3, 7, 7);
    EXPECT_EQ(get_pixel(test_screen(), 319, 199), 1);   // background
    EXPECT_EQ(count_colour(8, 0, 24, 24, 15), 576u);    // a8 light
    EXPECT_EQ(count_colour(32, 0, 24, 24, 6), 576u);    // b8 dark
    EXPECT_EQ(count_colour(8, 168, 24, 24, 6), 576u);   // a1 dark
    EXPECT_EQ(get_pixel(test_screen(), 0, 177), 15);    // rank digit 1
    EXPECT_EQ(get_pixel(test_screen(), 184, 192), 15);  // file letter H
    EXPECT_EQ(count_colour(110, 126, 12, 12, 2), 144u); // marker on e3
    EXPECT_EQ(count_colour(110, 102, 12, 12, 2), 144u); // marker on e4
    // The cursor on h1 hides the marker there.
    EXPECT_EQ(count_colour(178, 170, 20, 20, 9), 400u);
    EXPECT_EQ(count_colour(176, 168, 24, 24, 2), 0u);
    EXPECT_EQ(count_colour(176, 168, 24, 24, 15), 576u - 400u);
}

TEST_F(BoardView, NothingMarkedWithoutCountOrWithASelectionOffTheBoard) {
    const coord list[] = {{5, 4}};
    draw_board_view(test_screen(), list, 0, unsigned(-1), 200);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 2), 0u);
    EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 9), 0u);
}

// Runs `body` with the working directory switched to a fresh folder of its own.
template <typename F> void in_temp_dir(const std::string &name, F body) {
    auto old = std::filesystem::current_path();
    auto dir = std::filesystem::temp_directory_path() /
               ("vartok-board-" + name + "-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    body();
    std::filesystem::current_path(old);
}

void write_file(const char *name, const std::vector<uint8_t> &bytes) {
    FILE *f = std::fopen(name, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

TEST_F(BoardView, LoadingReadsEachFileTwiceAndRecoloursTheBlackCopy) {
    in_temp_dir("load", [] {
        for (const char *name : {"pawn.spr", "bishop.spr", "rook.spr", "knight.spr", "queen.spr"})
            write_file(name, {1, 1, 15});
        write_file("king.spr", {2, 1, 15, 8});
        write_file("font.fnt", std::vector<uint8_t>(2048, 0x11));
        ASSERT_EQ(init_board_graphics(test_screen()), 0);
        EXPECT_EQ(test_screen()->pieces.white_king.bitmap[0], 15);
        EXPECT_EQ(test_screen()->pieces.white_king.bitmap[1], 8);
        EXPECT_EQ(test_screen()->pieces.black_king.bitmap[0], 8);
        EXPECT_EQ(test_screen()->pieces.black_king.bitmap[1], 0);
        EXPECT_EQ(test_screen()->font.chr['A'].bitmap[0], 0x11);
    });
    release_loaded_images();
}

TEST_F(BoardView, MissingFontFailsSetUpMissingSpriteLeavesThePieceUndrawn) {
    in_temp_dir("nofont", [] {
        test_screen()->pieces.white_queen = test_screen()->pieces.black_queen = {};
        for (const char *name : {"pawn.spr", "bishop.spr", "rook.spr", "knight.spr", "king.spr"})
            write_file(name, {1, 1, 15});
        write_file("font.fnt", std::vector<uint8_t>(100)); // short
        EXPECT_EQ(init_board_graphics(test_screen()), 1);
        EXPECT_EQ(test_screen()->pieces.white_queen.width, 0);
        EXPECT_EQ(test_screen()->pieces.white_queen.bitmap, nullptr);
        queue_piece_sprite(test_screen(), 7, 3, type_queen);
        draw_screen_sprites(test_screen()); // the empty image draws nothing
        EXPECT_EQ(count_colour(0, 0, screen_width, screen_height, 0), 64000u);
    });
    release_loaded_images();
}

TEST_F(BoardView, ShortSpriteFileEndsTheGameWithAMessage) {
    in_temp_dir("short", [] {
        write_file("pawn.spr", {20, 20, 15, 15});
        // The game says so and ends; the later images and the font are not loaded.
        EXPECT_EQ(init_board_graphics(test_screen()), board_image_damaged);
    });
}

} // namespace
