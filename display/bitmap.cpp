#include "display/bitmap.h"

#include "display/data_files.h"
#include "display/screen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int fail_loading(FILE *file) {
    std::fclose(file);
    return bitmap_damaged;
}

// A position off the screen has no bit of its own: its index would name a pixel at the
// start of the next row (or wrap round in 32 bits), so an image running past the right
// edge would claim pixels that a later image of the batch must draw.
bool off_screen(uint32_t x, uint32_t y) {
    return x >= screen_width || y >= screen_height;
}

unsigned used_index(uint32_t x, uint32_t y) {
    return y * plane_row_bytes + x / 8;
}

// Draws one pixel of an image under the batch's ownership rule.
void draw_owned_pixel(screen *s, uint32_t x, uint32_t y, uint8_t color) {
    if (color == transparent_pixel || pixel_is_used(s, x, y)) return;
    put_pixel(s, x, y, color);
    mark_pixel_used(s, x, y);
}

} // namespace

int load_bitmap(const char *filename, struct bitmap *bitmap, uint8_t *width, uint8_t *height) {
    FILE *file = open_data_file(filename);
    if (!file) return 1;
    if (std::fread(width, 1, 1, file) != 1 || std::fread(height, 1, 1, file) != 1)
        return fail_loading(file);
    // An image of no pixels cannot be drawn or recoloured; treat it as damaged.
    if (*width == 0 || *height == 0) return fail_loading(file);
    if (allocate_bitmap(*width, *height, bitmap)) {
        std::fclose(file);
        return bitmap_out_of_memory;
    }
    size_t size = size_t(*width) * *height;
    if (std::fread(bitmap->bitmap, size, 1, file) != 1) return fail_loading(file);
    std::fclose(file);
    return 0;
}

int allocate_bitmap(uint8_t width, uint8_t height, struct bitmap *retval) {
    // One byte more than needed, so that a 0 x 0 image still gets a valid pointer.
    auto *pixels = static_cast<uint8_t *>(std::malloc(size_t(width) * height + 1));
    if (!pixels) return 1;
    retval->bitmap = pixels;
    retval->height = height;
    retval->width = width;
    return 0;
}

int store_pixel(struct bitmap *bitmapstruct, uint8_t x, uint8_t y, uint8_t color) {
    if (y >= bitmapstruct->height || x >= bitmapstruct->width) return 1;
    bitmapstruct->bitmap[y * bitmapstruct->width + x] = color;
    return 0;
}

int recall_pixel(const struct bitmap *bitmapstruct, uint8_t x, uint8_t y) {
    return bitmapstruct->bitmap[y * bitmapstruct->width + x];
}

void fill_bitmap(struct bitmap *bitmap, uint8_t color) {
    if (bitmap->bitmap) std::memset(bitmap->bitmap, color, size_t(bitmap->width) * bitmap->height);
}

void mark_pixel_used(screen *s, uint32_t x, uint32_t y) {
    if (off_screen(x, y)) return;
    s->usedpixels[used_index(x, y)] |= uint8_t(1u << (x & 7));
}

uint8_t pixel_is_used(const screen *s, uint32_t x, uint32_t y) {
    if (off_screen(x, y)) return 1;
    return s->usedpixels[used_index(x, y)] & uint8_t(1u << (x & 7));
}

void draw_bitmap(screen *s, uint32_t x, uint32_t y, const struct bitmap *bitmap) {
    for (int row = bitmap->height - 1; row >= 0; row--)
        for (int col = bitmap->width - 1; col >= 0; col--)
            draw_owned_pixel(s, x + uint32_t(col), y + uint32_t(row),
                             bitmap->bitmap[row * bitmap->width + col]);
}
