// When a game of the match is over, by the standard (FIDE) rules as rules/fide_draws judges
// them: mate, stalemate, a draw either player may claim (threefold repetition, the fifty-move
// rule: engines are taken to claim it at once), a dead position, or the tool's move cap.
#pragma once

#include "rules/game_state.h"
#include "rules/position_key.h"

#include <string>

enum class game_end {
    none,
    checkmate,
    stalemate,
    repetition,
    fifty_moves,
    dead_position, // no series of legal moves mates: "insufficient material"
    move_cap,
};

struct game_history {
    game_state game;            // the position now
    position_history positions; // every position so far, the start too
    int plies = 0;              // half-moves played
};

// The start position, noted in the history.
game_history new_history();

// A history that starts from `game` (e.g. a position read from a FEN).
game_history history_from(const game_state &game);

// Plays the move in coordinate notation ("e2e4", "e7e8q") when it is legal, and notes the
// position it leads to. False with the problem otherwise; the history is then unchanged.
bool play_in_history(game_history *h, const std::string &move, std::string *problem);

game_end judge(const game_history &h, int max_plies);

// "checkmate", "fifty-move rule" ...
const char *game_end_name(game_end end);
