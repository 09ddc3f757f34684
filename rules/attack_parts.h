// Parts of the attack test for callers that know more about the position than the test
// does (the move generator's pin and check finding).
#pragma once

#include "rules/structs.h"

// Attacked by an enemy king, pawn or knight (on the board: square must be on it).
bool attacked_by_steppers(const struct board *brd, coord square, uint8_t defender_colour);

// Would the king of `defender_colour` on `from` be attacked after an ordinary step to `to`
// (not castling)? The same answer as making the step on a copy and testing `to`.
bool attacked_after_king_step(const struct board *brd, coord from, coord to,
                              uint8_t defender_colour);
