// The position the GUI sets up with "position": the start position or a FEN, then its
// moves, set up as rules/notation/position_replay does.
#pragma once

#include "ai/player.h"
#include "engine/uci_words.h"
#include "rules/game_state.h"

#include <string>

// Sets up the position of the words after "position". False with the problem when its
// start is unusable: `*game` is then unchanged. An illegal move ends the replay there:
// true is returned with `*game` the position before it and the problem named. A FEN's
// en-passant square that is ignored is named in the problem too. `replayed`, when given,
// gets the start and the moves played as well (only when true is returned).
bool set_up_position(const word_list &words, size_t from, game_state *game, std::string *problem,
                     game_moves *replayed = nullptr);
