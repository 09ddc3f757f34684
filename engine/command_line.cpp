#include "engine/command_line.h"
#include "engine/uci_words.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char *usage =
    "usage: vartok-engine\n"
    "       vartok-engine --help | -h | --version\n"
    "\n"
    "Vartok's computer player as a UCI engine: a chess program (chess-tui, xboard through\n"
    "polyglot, cutechess...) starts it and talks to it on standard input and output.\n"
    "Typed by hand: 'uci' lists the options (Depth1, Depth2, Blunders, Deadend, Limit,\n"
    "Threads, OwnBook, Seed, Level), 'position startpos moves e2e4' sets up a position,\n"
    "'go' searches it and answers 'bestmove', 'quit' ends.\n";
constexpr const char *version = "vartok-engine " VARTOK_VERSION "\n";

} // namespace

int answer_command_line(int argc, char **argv) {
    for (int i = 1; i < argc; i++) {
        const bool help = std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
        if (help || std::strcmp(argv[i], "--version") == 0) {
            const bool written =
                std::fputs(help ? usage : version, stdout) >= 0 && std::fflush(stdout) == 0;
            return written ? 0 : 1;
        }
    }
    for (int i = 1; i < argc; i++)
        std::fprintf(stderr, "vartok-engine: unknown word '%s' ignored (try --help)\n",
                     shown(argv[i]).c_str());
    return -1;
}
