#include "review_options.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

const char review_usage[] =
    "usage: vartok-review [OPTIONS] [FILE.pgn[#N]]\n"
    "Reviews a game: every position analysed, every move judged from its mover's view by\n"
    "the loss in winning chances, mistakes shown with the better move, each side's accuracy.\n"
    "FILE#N is the N-th game of FILE (from 1); without #N the last one; without FILE the\n"
    "last finished game of the game's database (games.pgn).\n"
    "  --movetime MS   time for each position (default 300)\n"
    "  --depth N       search each position to depth N instead (repeatable figures)\n"
    "  --threads N     positions analysed at once (default: every core)\n"
    "  --pgn FILE      write the annotated PGN to FILE instead of standard output\n"
    "  --summary       print the summary even when standard output is not a terminal\n"
    "  --svg FILE      draw the evaluation graph into FILE\n"
    "  ENGINE=CMD      review with an outside UCI or xboard engine instead of the strong player\n"
    "  ENGINE_OPTION=Name=Value   an option of that engine (repeatable)\n"
    "  ENGINE_PROTOCOL=uci|xboard the engine's protocol (default: found out)\n"
    "Status: 0 reviewed, 1 the analysis or a write failed, 2 bad words or an unreadable record.\n";

namespace {

bool read_count(const char *text, long least, long most, long *out) {
    char *end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < least || v > most) return false;
    *out = v;
    return true;
}

bool has_prefix(std::string_view word, std::string_view prefix) {
    return word.substr(0, prefix.size()) == prefix;
}

} // namespace

bool read_review_options(int argc, char **argv, review_options *out, std::string *error) {
    for (int i = 1; i < argc; i++) {
        const std::string_view word = argv[i];
        const bool takes_value = word == "--movetime" || word == "--depth" || word == "--threads" ||
                                 word == "--pgn" || word == "--svg";
        if (takes_value && i + 1 >= argc) {
            *error = std::string(word) + " needs a value";
            return false;
        }
        long n = 0;
        if (word == "--movetime") {
            if (!read_count(argv[++i], 1, 3600000, &n)) {
                *error = "--movetime takes milliseconds, 1 to 3600000";
                return false;
            }
            out->movetime_ms = static_cast<int>(n);
        } else if (word == "--depth") {
            if (!read_count(argv[++i], 1, 100, &n)) {
                *error = "--depth takes a depth, 1 to 100";
                return false;
            }
            out->depth = static_cast<int>(n);
        } else if (word == "--threads") {
            if (!read_count(argv[++i], 1, 1024, &n)) {
                *error = "--threads takes a count, 1 to 1024";
                return false;
            }
            out->threads = static_cast<unsigned>(n);
        } else if (word == "--pgn") {
            out->pgn_path = argv[++i];
        } else if (word == "--svg") {
            out->svg_path = argv[++i];
        } else if (word == "--summary") {
            out->summary = true;
        } else if (has_prefix(word, "ENGINE=")) {
            out->engine.command = std::string(word.substr(7));
            if (out->engine.command.empty()) {
                *error = "ENGINE= names the engine's command";
                return false;
            }
        } else if (has_prefix(word, "ENGINE_OPTION=")) {
            const std::string option(word.substr(14));
            if (option.find('=') == std::string::npos || option.front() == '=') {
                *error = std::string(word) + ": an option is written Name=Value";
                return false;
            }
            out->engine.options.push_back(option);
        } else if (has_prefix(word, "ENGINE_PROTOCOL=")) {
            out->engine.protocol = std::string(word.substr(16));
            if (out->engine.protocol != "uci" && out->engine.protocol != "xboard") {
                *error = "ENGINE_PROTOCOL= is uci or xboard";
                return false;
            }
        } else if (has_prefix(word, "-") && word != "-") {
            *error = "unknown option " + std::string(word);
            return false;
        } else if (!out->game.empty()) {
            *error = "one game at a time: " + std::string(word) + " follows " + out->game;
            return false;
        } else {
            out->game = std::string(word);
        }
    }
    if (!out->engine.options.empty() && out->engine.command.empty()) {
        *error = "ENGINE_OPTION= needs ENGINE=";
        return false;
    }
    return true;
}
