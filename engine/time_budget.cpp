#include "engine/time_budget.h"
#include "rules/time/move_budget.h"

int64_t move_time_budget(const go_limits &limits, uint8_t side) {
    if (limits.infinite) return no_limit;
    int64_t budget = no_limit;
    if (limits.movetime != no_limit)
        budget = limits.movetime > move_overhead_ms ? limits.movetime - move_overhead_ms : 0;
    const int64_t left = limits.time[side ? 1 : 0];
    if (left != no_limit) {
        // The clock's share: the game's and the match tool's rule, the soft limit of a budget.
        const int64_t share =
            budget_for_move(left, limits.increment[side ? 1 : 0], limits.movestogo,
                            move_overhead_ms, classic_clock_figures)
                .soft_ms;
        if (budget == no_limit || share < budget) budget = share;
    }
    return budget;
}
