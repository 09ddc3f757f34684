// What an engine tells of its search, as the last line of its thinking before its move.
#pragma once

#include <string>
#include <vector>

// The widest values worth believing: a line with a number beyond them is not read (an
// engine that prints one is broken, and what the client works out from it would overflow).
constexpr long long most_plies = 10000;
constexpr long long most_mate_moves = 10000;
constexpr long long most_centipawns = 1000000;
constexpr long long most_think_ms = 100LL * 24 * 3600 * 1000; // a hundred days

struct engine_thinking {
    int depth = 0;
    bool has_score = false;
    bool mate = false; // `score` counts moves to mate; negative: the engine is mated
    int score = 0;     // centipawns for the side to move, or moves to mate
    long long nodes = 0;
    long time_ms = 0;
    std::vector<std::string> pv;     // the principal variation as the engine wrote it
    std::vector<std::string> pv_san; // its moves that are legal, in SAN (filled by the client)
};

// "depth 12, score +0.35, Nf6 c4 e6"; "depth 9, mate in 3, Qh7+ Kf8 Qh8#"; the parts the
// engine gave.
std::string describe_thinking(const engine_thinking &t);
