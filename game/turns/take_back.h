// Take-backs: the game as it stood at the start of each turn, to go back to.
#pragma once

#include "ai/player.h"
#include "game/records/game_record.h"
#include "rules/game_state.h"

#include <cstddef>
#include <vector>

struct turn_snapshot {
    game_state game;    // before the turn began (its half-move number not yet counted)
    size_t record_size; // moves in the record then
};

using turn_history = std::vector<turn_snapshot>;

// Goes back from the turn in progress (the last snapshot) to the latest earlier turn of a
// person: one half-move in a two-person game, the person's move and the computer's reply
// against the computer. The game and its record are restored exactly and the history ends
// before that turn (the turn loop records it again). False, with nothing changed, when no
// person's turn lies behind.
bool take_back(turn_history *turns, game_state *live, game_record *record);

// The game as a player is given it: where the turns began (the start of a new or resumed
// game), every move recorded since, and `now`.
game_moves moves_of_game(const turn_history &turns, const game_record &record,
                         const game_state &now);
