// Converts an 8x8 PC Screen Font (PSF version 1, with a Unicode table) into the game's
// "font.fnt": 256 glyphs of 8 row bytes, bit 0 of a row byte being the leftmost pixel.
//
// Character codes are laid out as code page 437 below 0x20 and from 0x7F to 0x9F (the
// classic PC symbols), as ASCII from 0x20 to 0x7E and as Latin-1 from 0xA0 on. A code
// whose character the source font lacks gets an empty box.
//
// Usage: font_converter SOURCE.psf OUTPUT.fnt
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string_view>
#include <vector>

namespace {

constexpr uint8_t psf1_magic0 = 0x36, psf1_magic1 = 0x04;
constexpr uint8_t psf1_mode_512 = 0x01, psf1_mode_has_table = 0x02;
constexpr uint16_t psf1_separator = 0xFFFF, psf1_sequence_start = 0xFFFE;
constexpr unsigned glyph_rows = 8;
constexpr unsigned codes = 256;

// Unicode of the PC symbols at codes 0x00..0x1F and 0x7F..0x9F.
constexpr std::array<uint16_t, 32> low_symbols = {
    0x0000, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9,
    0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7,
    0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};
constexpr std::array<uint16_t, 33> high_symbols = {
    0x2302, 0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB,
    0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6,
    0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192};

uint16_t unicode_of_code(unsigned code) {
    if (code < 0x20) return low_symbols[code];
    if (code >= 0x7F && code <= 0x9F) return high_symbols[code - 0x7F];
    return uint16_t(code); // ASCII and Latin-1 coincide with Unicode
}

uint8_t mirror_bits(uint8_t b) {
    uint8_t r = 0;
    for (int i = 0; i < 8; i++)
        if (b & (1u << i)) r |= uint8_t(0x80u >> i);
    return r;
}

int fail(const char *what) {
    std::fprintf(stderr, "font_converter: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    constexpr const char *usage = "usage: font_converter SOURCE.psf OUTPUT.fnt";
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::puts(usage);
        return 0;
    }
    if (argc != 3) return fail(usage);
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) return fail("cannot open the source font");
    std::vector<uint8_t> psf((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    if (psf.size() < 4 || psf[0] != psf1_magic0 || psf[1] != psf1_magic1)
        return fail("not a PSF1 font");
    uint8_t mode = psf[2];
    if (psf[3] != glyph_rows) return fail("not an 8-row font");
    if (!(mode & psf1_mode_has_table)) return fail("the font has no Unicode table");
    size_t glyphs = (mode & psf1_mode_512) ? 512 : 256;
    size_t table = 4 + glyphs * glyph_rows;
    if (psf.size() < table) return fail("the font is truncated");

    // Unicode -> glyph; only a glyph's single characters count, not its sequences.
    std::map<uint16_t, size_t> glyph_of;
    size_t pos = table;
    for (size_t glyph = 0; glyph < glyphs && pos + 1 < psf.size(); glyph++) {
        bool in_sequence = false;
        while (pos + 1 < psf.size()) {
            uint16_t u = uint16_t(psf[pos] | psf[pos + 1] << 8);
            pos += 2;
            if (u == psf1_separator) break;
            if (u == psf1_sequence_start)
                in_sequence = true;
            else if (!in_sequence)
                glyph_of.emplace(u, glyph);
        }
    }

    std::array<uint8_t, codes * glyph_rows> out{};
    unsigned missing = 0;
    for (unsigned code = 0; code < codes; code++) {
        uint8_t *dst = &out[code * glyph_rows];
        auto found = glyph_of.find(unicode_of_code(code));
        if (code == 0 || found == glyph_of.end()) {
            if (code != 0) {
                // An empty box marks a character the font cannot show.
                missing++;
                dst[1] = dst[6] = 0x7E;
                for (unsigned r = 2; r < 6; r++) dst[r] = 0x42;
            }
            continue;
        }
        const uint8_t *src = &psf[4 + found->second * glyph_rows];
        for (unsigned r = 0; r < glyph_rows; r++) dst[r] = mirror_bits(src[r]);
    }
    std::ofstream file(argv[2], std::ios::binary);
    file.write(reinterpret_cast<const char *>(out.data()), std::streamsize(out.size()));
    if (!file) return fail("cannot write the output");
    if (missing) std::fprintf(stderr, "font_converter: %u codes had no glyph\n", missing);
    return 0;
}
