#include "engine/command_line.h"
#include "engine/engine_options.h"
#include "engine/uci_words.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t usage_width = 80;
constexpr const char *version = "vartok-engine " VARTOK_VERSION "\n";

// The text broken between words into lines of at most usage_width characters.
std::string wrapped(const std::string &text) {
    std::string out, line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && line.size() + 1 + word.size() > usage_width) {
            out += line + '\n';
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return out + line + '\n';
}

// The options are named from the engine's own table, so that the text cannot leave one out.
std::string usage() {
    return "usage: vartok-engine\n"
           "       vartok-engine --help | -h | --version\n"
           "\n" +
           wrapped("Vartok's computer player as a UCI engine: a chess program (chess-tui, xboard "
                   "through polyglot, cutechess...) starts it and talks to it on standard input "
                   "and output. Typed by hand: 'uci' lists the options (" +
                   option_names() +
                   "), 'setoption name Player value strong' gives the search to the strong "
                   "player, 'position startpos moves e2e4' sets up a position, 'go' searches it "
                   "and answers 'bestmove', 'quit' ends.");
}

} // namespace

int answer_command_line(int argc, char **argv) {
    for (int i = 1; i < argc; i++) {
        const bool help = std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
        if (help || std::strcmp(argv[i], "--version") == 0) {
            const bool written = std::fputs(help ? usage().c_str() : version, stdout) >= 0 &&
                                 std::fflush(stdout) == 0;
            return written ? 0 : 1;
        }
    }
    for (int i = 1; i < argc; i++)
        std::fprintf(stderr, "vartok-engine: unknown word '%s' ignored (try --help)\n",
                     shown(argv[i]).c_str());
    return -1;
}
