// Moves in standard algebraic notation (Nf3, exd6, O-O, e8=Q+, Qxf7#), as PGN records them.
#pragma once

#include "engine/move_text.h"
#include "rules/game_state.h"

#include <string>

// `m` must be legal in `game`.
std::string san_of(const game_state &game, const uci_move &m);
