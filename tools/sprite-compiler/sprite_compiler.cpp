// Turns a sprite drawn as a text grid into the game's ".spr" file.
//
// Source format, line by line:
//   # ...                 a comment
//   legend C transparent  the character C stands for a transparent pixel
//   legend C N            the character C stands for colour index N (0..15)
//   pixels                the rows of the picture follow, one character per pixel;
//                         every row as wide as the first, at most 255 rows of 255.
//
// Usage: sprite_compiler SOURCE.txt OUTPUT.spr
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int max_side = 255;
constexpr int transparent = 255;
constexpr int unassigned = -1;

int fail(const std::string &where, const std::string &why) {
    std::fprintf(stderr, "%s: %s\n", where.c_str(), why.c_str());
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    constexpr const char *usage = "usage: sprite_compiler SOURCE.txt OUTPUT.spr";
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::puts(usage);
        return 0;
    }
    if (argc != 3) return fail("sprite_compiler", usage);
    std::ifstream in(argv[1]);
    if (!in) return fail(argv[1], "cannot open");

    std::array<int, 256> legend;
    legend.fill(unassigned);
    std::vector<std::string> rows;
    bool in_pixels = false;
    std::string line;
    for (int number = 1; std::getline(in, line); number++) {
        std::string where = std::string(argv[1]) + ":" + std::to_string(number);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (in_pixels) {
            if (line.empty()) continue;
            if (line.size() != (rows.empty() ? line.size() : rows[0].size()))
                return fail(where, "row width differs from the first row");
            for (unsigned char c : line)
                if (legend[c] == unassigned)
                    return fail(where, std::string("character '") + char(c) + "' not in legend");
            rows.push_back(line);
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string keyword, symbol, value;
        words >> keyword;
        if (keyword == "pixels") {
            in_pixels = true;
        } else if (keyword == "legend" && (words >> symbol >> value) && symbol.size() == 1) {
            if (value == "transparent") {
                legend[(unsigned char)symbol[0]] = transparent;
            } else {
                int index = -1;
                try {
                    index = std::stoi(value);
                } catch (...) {
                }
                if (index < 0 || index > 15) return fail(where, "colour index must be 0..15");
                legend[(unsigned char)symbol[0]] = index;
            }
        } else {
            return fail(where, "expected 'legend C N', 'legend C transparent' or 'pixels'");
        }
    }
    if (rows.empty()) return fail(argv[1], "no pixel rows");
    if (rows.size() > max_side || rows[0].size() > max_side)
        return fail(argv[1], "larger than 255 x 255");

    std::vector<unsigned char> out;
    out.push_back((unsigned char)rows[0].size());
    out.push_back((unsigned char)rows.size());
    for (const std::string &row : rows)
        for (unsigned char c : row) out.push_back((unsigned char)legend[c]);
    std::ofstream file(argv[2], std::ios::binary);
    file.write(reinterpret_cast<const char *>(out.data()), std::streamsize(out.size()));
    if (!file) return fail(argv[2], "cannot write");
    return 0;
}
