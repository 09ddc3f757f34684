// When a game of the match is over, by the rules of chess: mate, stalemate, threefold
// repetition, the fifty-move rule, too little material to mate, or the tool's move cap.
#pragma once

#include "rules/game_state.h"

#include <string>
#include <vector>

enum class game_end {
    none,
    checkmate,
    stalemate,
    repetition,
    fifty_moves,
    insufficient_material,
    move_cap,
};

struct game_history {
    game_state game;                    // the position now
    std::vector<std::string> positions; // the key of every position so far, the start too
    int plies = 0;                      // half-moves played
};

// The start position and its key.
game_history new_history();

// The key under which a position repeats: pieces, side to move, castling and en passant.
std::string position_key(const game_state &game);

game_end judge(const game_history &h, int max_plies);

// "checkmate", "fifty-move rule" ...
const char *game_end_name(game_end end);
