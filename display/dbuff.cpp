#include "display/dbuff.h"
#include "display/screen.h"

#include <cstring>

namespace {

// The colour bit that plane p holds: plane 0 the intensity (bit 3), plane 3 blue (bit 0).
constexpr uint8_t plane_colour_bit(unsigned plane) {
    return uint8_t(1u << (3 - plane));
}

uint8_t *plane_start(screen *s, unsigned plane) {
    return s->dbuff + plane * plane_size;
}

const uint8_t *plane_start(const screen *s, unsigned plane) {
    return s->dbuff + plane * plane_size;
}

} // namespace

unsigned dbuff_offset(uint32_t x, uint32_t y, uint8_t *mask) {
    *mask = uint8_t(1u << (x & 7));
    return y * plane_row_bytes + x / 8;
}

void put_pixel(screen *s, uint32_t x, uint32_t y, uint8_t color) {
    if (x >= screen_width || y >= screen_height) return;
    uint8_t mask;
    unsigned offset = dbuff_offset(x, y, &mask);
    for (unsigned p = 0; p < plane_count; p++) {
        uint8_t &byte = plane_start(s, p)[offset];
        if (color & plane_colour_bit(p))
            byte |= mask;
        else
            byte &= uint8_t(~mask);
    }
}

uint8_t get_pixel(const screen *s, uint32_t x, uint32_t y) {
    uint8_t mask;
    unsigned offset = dbuff_offset(x, y, &mask);
    uint8_t color = 0;
    for (unsigned p = 0; p < plane_count; p++)
        if (plane_start(s, p)[offset] & mask) color |= plane_colour_bit(p);
    return color;
}

void fill_screen(screen *s, uint8_t color) {
    std::memset(s->dbuff, 0, sizeof s->dbuff);
    for (unsigned p = 0; p < plane_count; p++)
        if (color & plane_colour_bit(p)) std::memset(plane_start(s, p), 0xFF, plane_size);
}

void draw_rectangle(screen *s, int32_t x, int32_t y, uint32_t w, uint32_t h, uint8_t color) {
    if (x > int32_t(screen_width) - 1 || y > int32_t(screen_height) - 1) return;
    if (w == 0 || h == 0) return;
    if (x < 0) {
        uint32_t cut = uint32_t(-int64_t(x));
        if (w <= cut) return;
        w -= cut;
        x = 0;
    }
    if (y < 0) {
        uint32_t cut = uint32_t(-int64_t(y));
        if (h <= cut) return;
        h -= cut;
        y = 0;
    }
    uint32_t left = uint32_t(x), top = uint32_t(y);
    if (w > screen_width - left) w = screen_width - left;
    if (h > screen_height - top) h = screen_height - top;

    uint32_t right = left + w - 1;
    unsigned first_byte = left / 8, last_byte = right / 8;
    uint8_t left_mask = uint8_t(0xFFu << (left & 7));
    uint8_t right_mask = uint8_t(0xFFu >> (7 - (right & 7)));
    if (first_byte == last_byte) left_mask = right_mask = uint8_t(left_mask & right_mask);
    // Bytes written whole: everything strictly between the edges, plus an edge byte
    // that the rectangle covers completely.
    unsigned run_start = left_mask == 0xFF ? first_byte : first_byte + 1;
    unsigned run_end = right_mask == 0xFF ? last_byte + 1 : last_byte;

    for (unsigned p = 0; p < plane_count; p++) {
        bool set = color & plane_colour_bit(p);
        uint8_t *row = plane_start(s, p) + top * plane_row_bytes;
        for (uint32_t r = 0; r < h; r++, row += plane_row_bytes) {
            if (run_end > run_start)
                std::memset(row + run_start, set ? 0xFF : 0, run_end - run_start);
            if (left_mask != 0xFF)
                row[first_byte] =
                    set ? row[first_byte] | left_mask : row[first_byte] & uint8_t(~left_mask);
            if (right_mask != 0xFF && last_byte != first_byte)
                row[last_byte] =
                    set ? row[last_byte] | right_mask : row[last_byte] & uint8_t(~right_mask);
        }
    }
}
