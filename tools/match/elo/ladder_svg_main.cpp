// vartok-ladder-svg: draws the Elo ladder as an SVG picture from a results file (rows as
// vartok-elo-fit --row prints them).
#include "elo/ladder_svg.h"
#include "game/records/atomic_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int usage_status = 2;

const char *usage_text =
    "usage: vartok-ladder-svg [--title TEXT] RESULTS OUT.svg\n"
    "Draws each setting's measured Elo with its 95% interval against the Elo asked for,\n"
    "within the band of +/-100 around equality, and marks the rows without an asked Elo\n"
    "(other players, such as the classic levels) across the picture.\n"
    "RESULTS holds rows 'WORD ASKED ELO LOW HIGH GAMES', '-' for none, as vartok-elo-fit\n"
    "--row prints them; lines starting with '#' are comments. OUT.svg is written whole or\n"
    "not at all.\n";

} // namespace

int main(int argc, char **argv) {
    std::string title = "Measured Elo against the Elo asked for";
    std::vector<std::string> files;
    for (int i = 1; i < argc; i++) {
        const std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            std::fputs(usage_text, stdout);
            return 0;
        }
        if (word == "--title" && i + 1 < argc)
            title = argv[++i];
        else
            files.push_back(word);
    }
    if (files.size() != 2) {
        std::fputs(usage_text, stderr);
        return usage_status;
    }
    std::ifstream in(files[0], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "vartok-ladder-svg: cannot read %s\n", files[0].c_str());
        return 1;
    }
    std::vector<ladder_row> rows;
    std::string error;
    if (!read_ladder(text.str(), &rows, &error)) {
        std::fprintf(stderr, "vartok-ladder-svg: %s: %s\n", files[0].c_str(), error.c_str());
        return usage_status;
    }
    if (!write_file_atomically(files[1], ladder_svg(rows, title), &error)) {
        std::fprintf(stderr, "vartok-ladder-svg: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
