// How long the strong player thinks: a soft limit (no new iteration is begun that could not
// finish) and a hard one (the search stops at once).
#pragma once

#include "rules/time/move_budget.h"

#include <cstdint>

// A fixed time for the move, less the overhead of the round trip to the caller.
move_budget limits_for_move_time(int64_t move_time_ms, int64_t overhead_ms);

// The strong player's share of a clock (budget_for_move): a share is the time left over the
// moves to go (at most 50) plus three quarters of the increment. It aims at six tenths of a
// share, an iteration taking about as long as all before it together, and stops at three
// shares, never more than a fifth of what is left on a move (nine tenths on the last before
// the control), so that a long think cannot lose on time.
constexpr clock_figures strong_clock_figures = {.most_moves_to_go = 50,
                                                .increment_percent = 75,
                                                .soft_percent = 60,
                                                .soft_ceiling_percent = 100,
                                                .hard_shares = 3,
                                                .hard_ceiling_percent = 20,
                                                .last_move_ceiling_percent = 90,
                                                .overhead_off_clock = true,
                                                .least_ms = 1};
