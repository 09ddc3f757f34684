// Parts of the attack test for callers that know more about the position than the test
// does (the move generator's pin and check finding).
#pragma once

#include "rules/structs.h"

// Attacked by an enemy king, pawn or knight (on the board: square must be on it).
bool attacked_by_steppers(const struct board *brd, coord square, uint8_t defender_colour);
