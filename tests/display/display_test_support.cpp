#include "display_test_support.h"

#include "display/bitmap.h"
#include "display/dbuff.h"
#include "display/draw_queue.h"
#include "display/fonts.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

screen *test_screen() {
    static screen the_screen;
    return &the_screen;
}

void reset_display_state() {
    std::memset(test_screen()->dbuff, 0, sizeof test_screen()->dbuff);
    std::memset(test_screen()->usedpixels, 0, sizeof test_screen()->usedpixels);
    std::memset(&test_screen()->font, 0, sizeof test_screen()->font);
    test_screen()->sprite_count = 0;
    test_screen()->text_count = 0;
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
        for (unsigned xx = x; xx < x + w; xx++) n += get_pixel(test_screen(), xx, yy) == color;
    return n;
}

void set_dot_glyph(uint8_t chr) {
    std::memset(&test_screen()->font.chr[chr], 0, sizeof test_screen()->font.chr[chr]);
    test_screen()->font.chr[chr].bitmap[0] = 0x01;
}
