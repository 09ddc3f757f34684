#include "engine/time_budget.h"

namespace {

int64_t less_overhead(int64_t ms) {
    return ms > move_overhead_ms ? ms - move_overhead_ms : 0;
}

} // namespace

int64_t move_time_budget(const go_limits &limits, uint8_t side) {
    if (limits.infinite) return no_limit;
    int64_t budget = no_limit;
    if (limits.movetime != no_limit) budget = less_overhead(limits.movetime);
    const int64_t left = limits.time[side ? 1 : 0];
    if (left != no_limit) {
        const int64_t moves = limits.movestogo > 0 ? limits.movestogo : assumed_moves_left;
        int64_t share = left / moves + limits.increment[side ? 1 : 0];
        if (share > left / 2) share = left / 2;
        share = less_overhead(share);
        if (budget == no_limit || share < budget) budget = share;
    }
    return budget;
}
