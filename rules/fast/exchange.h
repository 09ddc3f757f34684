// Static exchange evaluation: what a capture wins or loses when both sides go on taking on
// its square, least valuable piece first, and either may stop.
#pragma once

#include "rules/fast/fast_position.h"

namespace fast {

// Piece values for exchanges, by type (both pawn types alike).
constexpr int exchange_value[8] = {0, 100, 100, 500, 320, 330, 950, 20000};

// Does the move win at least `threshold` (centipawns) in the exchange on its square?
bool exchange_at_least(const position &pos, move16 m, int threshold);

} // namespace fast
