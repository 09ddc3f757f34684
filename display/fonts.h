// The 8x8 bitmap font and text drawing.
#pragma once

#include <cstdint>

constexpr unsigned glyph_size = 8;
constexpr unsigned glyph_count = 256;
constexpr unsigned text_advance = 9; // 8 pixels of glyph and 1 of gap, across and down

// Byte r is pixel row r from the top; bit i of a row is column i, bit 0 the leftmost.
struct fontchar {
    uint8_t bitmap[glyph_size];
};

struct font_table {
    fontchar chr[glyph_count];
};

// Where teletype_print goes on.
struct teletype_pen {
    uint32_t mx, my, n;
};

struct screen; // display/screen.h: it holds the font and the pen

// Reads the 2048-byte font file; -1 when it is missing or shorter, 0 otherwise.
int load_font(screen *s, const char *filename);
// Draws the ink of glyph chr at (x, y); pixels outside the shape stay as they are.
void draw_chr(screen *s, uint32_t x, uint32_t y, uint8_t color, uint8_t chr);
// Draws a string, 9 pixels per character; a newline starts a line 9 pixels lower.
void print_text(screen *s, uint32_t x, uint32_t y, uint8_t color, const char *str);
// Goes on where the previous call stopped; -1 for x or y keeps the previous value.
// Wraps when the pen passes x 310.
void teletype_print(screen *s, uint32_t x, uint32_t y, uint8_t color, const char *str);
