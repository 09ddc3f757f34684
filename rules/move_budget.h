// How long a computer player may think about one move, from its clock.
#pragma once

#include <cstdint>

// Moves assumed to remain when nobody says how many do.
constexpr int64_t assumed_moves_to_go = 30;

struct move_budget {
    int64_t soft_ms; // aim: start no new step of the search after this
    int64_t hard_ms; // limit: the search is stopped here, whatever it is doing
};

// From `left_ms` on the clock, the increment and the moves to go (0 or less: assumed):
// the share is left / moves + increment. The soft limit is the share, at most half the time
// left; the hard limit three shares, at most three quarters of the time left. Both less
// `overhead_ms` (the time the move takes to reach the board) and not below 0; the hard
// limit is never below the soft one.
move_budget budget_for_move(int64_t left_ms, int64_t increment_ms, int64_t moves_to_go,
                            int64_t overhead_ms);

// Whether a step expected to take `next_step_ms`, started after `elapsed_ms`, would pass the
// hard limit. With a next step of 0: whether the limit is already passed.
bool would_overrun(const move_budget &budget, int64_t elapsed_ms, int64_t next_step_ms);
