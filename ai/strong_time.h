// How long the strong player thinks: a soft limit (no new iteration is begun that could not
// finish) and a hard one (the search stops at once).
#pragma once

#include <cstdint>

constexpr int64_t no_time_limit = -1;

struct strong_time_limits {
    int64_t soft_ms = no_time_limit;
    int64_t hard_ms = no_time_limit;
};

// A fixed time for the move, less the overhead of the round trip to the caller.
strong_time_limits limits_for_move_time(int64_t move_time_ms, int64_t overhead_ms);

// A clock: the time left, the increment per move and the moves to the next time control
// (0: the rest of the game), less the overhead.
strong_time_limits limits_for_clock(int64_t time_left_ms, int64_t increment_ms, int64_t moves_to_go,
                                    int64_t overhead_ms);
