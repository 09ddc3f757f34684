// What a "go" command asks for: the clocks, a fixed time or depth, or a search until "stop".
#pragma once

#include "engine/uci_words.h"
#include "rules/notation/coordinates.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int64_t no_limit = -1;
constexpr int no_depth = -1;

struct go_limits {
    int64_t time[2] = {no_limit, no_limit}; // White's and Black's clocks, in ms
    int64_t increment[2] = {0, 0};          // ms added after each move
    int64_t movestogo = 0;                  // moves to the next time control; 0: all the game
    int64_t movetime = no_limit;            // ms for this move
    int depth = no_depth;                   // the second pass's depth for this move
    bool infinite = false;                  // answer only after "stop"
    int64_t nodes = 0;                      // positions to search at most; 0: no limit
    std::vector<san_move> searchmoves;      // the moves to choose from; empty: all
};

// Reads the words after "go". A part it cannot use is named in `problems` and skipped; the
// rest still counts. A node limit and searchmoves are read only for a player that can keep
// them.
go_limits parse_go(const word_list &words, size_t from, std::vector<std::string> *problems,
                   bool counts_nodes = false, bool restricts_moves = false);
