// A deliberately plain, single-threaded computer player: every step of the rating and the
// move choice written out in order, with no speed work. The tests play it against the
// game's own player and demand identical output, board and random-number use.
#pragma once

#include "rules/structs.h"

#include <cstdint>

namespace literal {

// Chooses, reports, makes and records one move for the side to move, like do_ai_move.
void do_ai_move(coord king_pos);

// Rates one move to `depth` plies on the live board, like the game's root call.
int8_t rate_move_to_depth(struct move *mv, uint8_t depth);

// Calls left in which this player's opening book may answer.
void set_opening_calls_left(uint8_t calls);

// Positions rated in the last pass.
uint64_t analysed_count();

} // namespace literal
