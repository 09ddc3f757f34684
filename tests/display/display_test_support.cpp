#include "display_test_support.h"

#include "display/bitmap.h"
#include "display/dbuff.h"
#include "display/draw_queue.h"
#include "display/fonts.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

void reset_display_state() {
    std::memset(dbuff, 0, sizeof dbuff);
    std::memset(usedpixels, 0, sizeof usedpixels);
    std::memset(&font, 0, sizeof font);
    screen_sprite_count = 0;
    screen_text_count = 0;
}

std::string write_temp_file(const std::string &name, const std::vector<uint8_t> &bytes) {
    std::string dir = std::filesystem::temp_directory_path() /
                      ("vartok-display-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::string path = dir + "/" + name;
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

unsigned count_colour(unsigned x, unsigned y, unsigned w, unsigned h, uint8_t color) {
    unsigned n = 0;
    for (unsigned yy = y; yy < y + h; yy++)
        for (unsigned xx = x; xx < x + w; xx++) n += get_pixel(xx, yy) == color;
    return n;
}

void set_dot_glyph(uint8_t chr) {
    std::memset(&font.chr[chr], 0, sizeof font.chr[chr]);
    font.chr[chr].bitmap[0] = 0x01;
}
