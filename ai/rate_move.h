// The rating search: plays a move on a scratch board and rates every reply recursively.
#pragma once

#include "ai/search_state.h"
#include "rules/structs.h"

constexpr int64_t smallest_score = INT64_MIN;
// A score above this is a mate found by the side that made the rated move.
constexpr int64_t mate_threshold = 2147483646;

// Rates `mv` (src, dst) in `brd` for `turn` (0 White, 1 Black), the side making it. Writes
// score, ascend, checkmate_found and staledraw; returns the material balance (negative when
// the mover is ahead), or -1 when the depth limit stopped the call.
int8_t rate_move(struct move *mv, const struct board *brd, uint8_t turn, search_state *st);

// Material added for a promotion to `piece`.
uint64_t ascend_value(uint8_t piece);
