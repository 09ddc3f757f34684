// Colour-indexed images, the sprite file loader, and drawing with the used-pixel mask.
#pragma once

#include "display/dbuff.h"

#include <cstdint>

constexpr uint8_t transparent_pixel = 255;

// Pixel (x, y) is byte y*width + x; each a colour index, or 255 for transparent.
// An all-zero record is a 0 x 0 image that draws nothing.
struct bitmap {
    uint8_t height;
    uint8_t width;
    uint8_t *bitmap;
};

struct screen; // display/screen.h: its usedpixels mark the pixels an image owns

// What load_bitmap answers besides 0 (loaded) and 1 (the file cannot be opened, record
// untouched): a short or empty file, or pixels that cannot be allocated.
constexpr int bitmap_damaged = 2;
constexpr int bitmap_out_of_memory = 3;

// Sprite file: width byte, height byte, then width*height pixel bytes row by row.
int load_bitmap(const char *filename, struct bitmap *bitmap, uint8_t *width, uint8_t *height);
// 1 when the pixels cannot be allocated.
int allocate_bitmap(uint8_t width, uint8_t height, struct bitmap *retval);
int store_pixel(struct bitmap *bitmapstruct, uint8_t x, uint8_t y, uint8_t color);
int recall_pixel(const struct bitmap *bitmapstruct, uint8_t x, uint8_t y);
void fill_bitmap(struct bitmap *bitmap, uint8_t color);

// Positions off the screen are never marked.
void mark_pixel_used(screen *s, uint32_t x, uint32_t y);
// Non-zero when marked; positions off the screen count as used.
uint8_t pixel_is_used(const screen *s, uint32_t x, uint32_t y);
// Draws the non-transparent pixels that no earlier image of the batch owns, and claims them.
void draw_bitmap(screen *s, uint32_t x, uint32_t y, const struct bitmap *bitmap);
