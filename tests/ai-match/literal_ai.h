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

// Rates one move on `brd` for `turn` to `max_depth` plies without reporting; counts into
// analysed_count() from 0.
int8_t rate_move_alone(struct move *mv, const struct board *brd, uint8_t turn, uint8_t max_depth);

} // namespace literal
