// The emulated 320x200, 16-colour display: four bit planes in memory.
#pragma once

#include <cstdint>

constexpr unsigned screen_width = 320;
constexpr unsigned screen_height = 200;
constexpr unsigned plane_row_bytes = screen_width / 8;
constexpr unsigned plane_size = plane_row_bytes * screen_height; // 8000
constexpr unsigned plane_count = 4;
constexpr unsigned dbuff_size = plane_size * plane_count; // 32000

struct screen; // display/screen.h: the frame buffer is its dbuff

// Byte index of (x, y) within a plane; *mask receives the pixel's bit. No range check.
unsigned dbuff_offset(uint32_t x, uint32_t y, uint8_t *mask);
void put_pixel(screen *s, uint32_t x, uint32_t y, uint8_t color);
uint8_t get_pixel(const screen *s, uint32_t x, uint32_t y);
void fill_screen(screen *s, uint8_t color);
// Fills w x h pixels from (x, y), clipped to the screen; x and y may be negative.
void draw_rectangle(screen *s, int32_t x, int32_t y, uint32_t w, uint32_t h, uint8_t color);
