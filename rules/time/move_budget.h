// How long a computer player may think about one move, from its clock.
#pragma once

#include <cstdint>

constexpr int64_t no_time_limit = -1;

struct move_budget {
    int64_t soft_ms = no_time_limit; // aim: start no new step of the search after this
    int64_t hard_ms = no_time_limit; // limit: the search is stopped here, whatever it is doing
};

// How a player shares out its clock. The time left (less the overhead when
// `overhead_off_clock`, and not below `least_ms`) divided by the moves to go, plus a part
// of the increment, is one share. The hard limit is `hard_shares` shares, at most a part
// of the time left; the soft limit a part of a share, at most a part of the time left and
// never above the hard limit. Without `overhead_off_clock` the overhead comes off each
// limit instead. No limit is below `least_ms`.
struct clock_figures {
    int64_t most_moves_to_go;     // a longer count to the next control is taken as this
    int64_t increment_percent;    // of the increment, added to each share
    int64_t soft_percent;         // of a share
    int64_t soft_ceiling_percent; // of the time left
    int64_t hard_shares;
    int64_t hard_ceiling_percent;      // of the time left
    int64_t last_move_ceiling_percent; // of the time left, on the move before the control
    bool overhead_off_clock;
    int64_t least_ms;
};

// Moves assumed to remain when nobody says how many do.
constexpr int64_t assumed_moves_to_go = 30;

// The classic player's share (in the game and in the engine): the time left over the moves
// to go plus the increment; the soft limit at most half the time left, the hard limit three
// shares, at most three quarters; both less the overhead and not below 0.
constexpr clock_figures classic_clock_figures = {.most_moves_to_go = INT64_MAX,
                                                 .increment_percent = 100,
                                                 .soft_percent = 100,
                                                 .soft_ceiling_percent = 50,
                                                 .hard_shares = 3,
                                                 .hard_ceiling_percent = 75,
                                                 .last_move_ceiling_percent = 75,
                                                 .overhead_off_clock = false,
                                                 .least_ms = 0};

// The limits for a move from `left_ms` on the clock, the increment and the moves to go (0
// or less: assumed_moves_to_go), with `overhead_ms` for the move to reach the board.
move_budget budget_for_move(int64_t left_ms, int64_t increment_ms, int64_t moves_to_go,
                            int64_t overhead_ms, const clock_figures &figures);
