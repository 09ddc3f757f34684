#include "display/fonts.h"

#include "display/data_files.h"
#include "display/dbuff.h"
#include "display/screen.h"

#include <cstdio>

namespace {

constexpr uint32_t keep_position = 0xFFFFFFFFu;
constexpr uint32_t teletype_wrap_x = 310;

} // namespace

int load_font(screen *s, const char *filename) {
    FILE *file = open_data_file(filename);
    if (!file) {
        report_missing_data_file(filename);
        return -1;
    }
    if (std::fread(&s->font, sizeof s->font, 1, file) != 1) {
        std::fprintf(stderr, "vartok: the data file %s is too short for a font\n", filename);
        std::fclose(file);
        return -1;
    }
    return std::fclose(file);
}

void draw_chr(screen *s, uint32_t x, uint32_t y, uint8_t color, uint8_t chr) {
    const fontchar &glyph = s->font.chr[chr];
    for (uint32_t n = 0; n < glyph_size; n++)
        for (uint32_t w = 0; w < glyph_size; w++)
            if (glyph.bitmap[n] & (1u << w)) put_pixel(s, x + w, y + n, color);
}

void print_text(screen *s, uint32_t x, uint32_t y, uint8_t color, const char *str) {
    uint32_t offset = 0;
    for (; *str; str++) {
        if (*str == '\n') {
            y += text_advance;
            offset = 0;
            continue;
        }
        draw_chr(s, x + offset, y, color, uint8_t(*str));
        offset += text_advance;
    }
}

void teletype_print(screen *s, uint32_t x, uint32_t y, uint8_t color, const char *str) {
    teletype_pen &teletype = s->teletype;
    if (x != keep_position) {
        teletype.mx = x;
        teletype.n = 0;
    }
    if (y != keep_position) teletype.my = y;
    for (; *str; str++) {
        if (*str == '\n') {
            teletype.my += text_advance;
            teletype.n = 0;
            continue;
        }
        draw_chr(s, teletype.mx + teletype.n, teletype.my, color, uint8_t(*str));
        teletype.n += text_advance;
        if (teletype.mx + teletype.n > teletype_wrap_x) {
            teletype.my += text_advance;
            teletype.n = 0;
        }
    }
}
