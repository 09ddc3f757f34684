// vartok-strong-tactics FILE [MS]: the strong player searches each position of FILE for MS
// milliseconds (default 1000) on one thread and is right when it plays the expected move.
// Each line of FILE: "FEN;MOVE;MARGIN" (MOVE in long algebraic notation, MARGIN in
// centipawns: how much better stockfish found it than any other move).
#include "ai/strong/strong_player.h"
#include "rules/notation/fen.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int64_t default_ms = 1000;

std::string move_text(const strong_move &m) {
    std::string s = {static_cast<char>('a' + m.src.col), static_cast<char>('8' - m.src.row),
                     static_cast<char>('a' + m.dst.col), static_cast<char>('8' - m.dst.row)};
    constexpr char letters[] = "   rnbq";
    if (m.ascend) s += letters[m.ascend];
    return s;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: vartok-strong-tactics FILE [MS]\n");
        return 2;
    }
    const int64_t ms = argc == 3 ? std::atoll(argv[2]) : default_ms;
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "vartok-strong-tactics: cannot read %s\n", argv[1]);
        return 1;
    }
    strong_memory memory;
    int solved = 0, total = 0;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string fen, expected;
        if (line.empty() || line[0] == '#' || !std::getline(fields, fen, ';') ||
            !std::getline(fields, expected, ';'))
            continue;
        fen_position pos;
        std::string error;
        if (!load_fen(fen, &pos, &error)) {
            std::fprintf(stderr, "vartok-strong-tactics: %s: %s\n", fen.c_str(), error.c_str());
            return 1;
        }
        const game_state game = game_from_position(pos, 2);
        strong_settings settings;
        settings.time = limits_for_move_time(ms, 0);
        settings.time.soft_ms = settings.time.hard_ms; // every millisecond counts here
        clear_table(&memory.table);
        const strong_decision d = choose_strong_move(game, settings, strong_observer{}, &memory);
        const std::string played = move_text(d.move);
        const bool right = played == expected;
        solved += right;
        total++;
        std::printf("%-4s %-6s %-6s %s\n", right ? "ok" : "--", expected.c_str(), played.c_str(),
                    fen.c_str());
    }
    std::printf("solved %d of %d at %lld ms a position\n", solved, total,
                static_cast<long long>(ms));
    return 0;
}
