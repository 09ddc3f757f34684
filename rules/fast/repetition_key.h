// Positions keyed as the repetition rule compares them (rules/position_key.h): the pieces
// on their squares, the side to move, the castling rights and an en-passant capture that is
// really possible. Unlike the position's own key, the has-moved flags count only through
// the castling rights, so a knight that goes out and back brings the position back.
#pragma once

#include "rules/board.h"
#include "rules/fast/fast_position.h"

#include <cstdint>

namespace fast {

uint64_t repetition_key(const position &pos);
uint64_t repetition_key_of(const struct board &brd, uint8_t side_to_move);

} // namespace fast
