// What the match tool asks of a position: the moves of the side to move, and whether it is
// in check.
#pragma once

#include "engine/move_text.h"
#include "rules/game_state.h"

#include <vector>

// Every legal move of the side to move; a promotion counts once for each piece.
std::vector<uci_move> legal_moves_of(const game_state &game);

struct side_status {
    bool checked; // the side to move is in check
    bool mobile;  // it has a legal move
};

side_status status_of(const game_state &game);
