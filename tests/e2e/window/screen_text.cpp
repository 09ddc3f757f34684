// Reads text off a screenshot of the window with the game's font file, as a person reads
// the screen: each 8x8 cell of the emulated display (every pixel a 2x2 block in the window)
// is matched against the font's glyphs. Pixels of the background colour are paper, every
// other colour ink.
// Usage: screen_text FONT_FILE SCREENSHOT.rgb BACKGROUND_HEX X Y COUNT [DX DY]
// SCREENSHOT.rgb holds the 640x400 window as raw 8-bit RGB (convert shot.png rgb:shot.rgb).
// Prints the COUNT characters whose cells start at (X, Y), (X + DX, Y + DY), ... of the
// emulated display (by default DX 9 and DY 0: a line of text), a cell no glyph matches as
// '?', trailing blanks dropped.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int window_width = 640, window_height = 400, scale = 2;
constexpr int glyph_size = 8, glyph_count = 256, advance = 9;
constexpr int printable_first = 32, printable_last = 126;

std::vector<unsigned char> read_file(const char *path) {
    std::vector<unsigned char> bytes;
    FILE *f = std::fopen(path, "rb");
    if (!f) return bytes;
    for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(f);
    return bytes;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 7 && argc != 9) {
        std::fprintf(stderr,
                     "usage: screen_text FONT SCREENSHOT.rgb BACKGROUND_HEX X Y COUNT [DX DY]\n");
        return 2;
    }
    const std::vector<unsigned char> font = read_file(argv[1]);
    const std::vector<unsigned char> shot = read_file(argv[2]);
    if (font.size() < size_t(glyph_count * glyph_size) ||
        shot.size() != size_t(window_width * window_height * 3)) {
        std::fprintf(stderr, "screen_text: bad font or screenshot size\n");
        return 2;
    }
    const unsigned long background = std::strtoul(argv[3], nullptr, 16);
    const int x0 = std::atoi(argv[4]), y0 = std::atoi(argv[5]), count = std::atoi(argv[6]);
    const int dx = argc == 9 ? std::atoi(argv[7]) : advance,
              dy = argc == 9 ? std::atoi(argv[8]) : 0;

    auto ink = [&](int x, int y) {
        if (x < 0 || y < 0 || x * scale >= window_width || y * scale >= window_height) return false;
        const size_t at = (size_t(y * scale) * window_width + size_t(x * scale)) * 3;
        const unsigned long rgb = (unsigned long)shot[at] << 16 | shot[at + 1] << 8 | shot[at + 2];
        return rgb != background;
    };
    auto matches = [&](int code, int x, int y) {
        for (int n = 0; n < glyph_size; n++)
            for (int w = 0; w < glyph_size; w++)
                if (((font[size_t(code * glyph_size + n)] >> w) & 1) != (ink(x + w, y + n) ? 1 : 0))
                    return false;
        return true;
    };

    std::string text;
    for (int k = 0; k < count; k++) {
        const int x = x0 + k * dx, y = y0 + k * dy;
        char found = '?';
        for (int code = printable_first; code <= printable_last; code++)
            if (matches(code, x, y)) {
                found = static_cast<char>(code);
                break;
            }
        text += found;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    std::printf("%s\n", text.c_str());
    return 0;
}
