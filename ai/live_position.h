// Putting a position given in FEN into the live game, for the analysis tools and tests.
#pragma once

#include "rules/fen.h"

// The live board, side to move and half-move clock come from `pos`; the position history
// is cleared, the opening book switched off and turn_count set to `turn`.
void set_live_position(const fen_position &pos, uint32_t turn);

// The live game as a position: side to move `turn`, half-move clock from the live counter.
fen_position live_position(uint8_t turn, uint32_t fullmoves);
