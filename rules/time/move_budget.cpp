#include "rules/time/move_budget.h"

#include <algorithm>

move_budget budget_for_move(int64_t left_ms, int64_t increment_ms, int64_t moves_to_go,
                            int64_t overhead_ms, const clock_figures &f) {
    const int64_t off_clock = f.overhead_off_clock ? overhead_ms : 0;
    const int64_t off_limits = f.overhead_off_clock ? 0 : overhead_ms;
    const int64_t left = std::max(left_ms - off_clock, f.least_ms);
    const int64_t moves =
        moves_to_go > 0 ? std::min(moves_to_go, f.most_moves_to_go) : assumed_moves_to_go;
    const int64_t share =
        left / moves + std::max<int64_t>(increment_ms, 0) * f.increment_percent / 100;
    const int64_t ceiling =
        left * (moves == 1 ? f.last_move_ceiling_percent : f.hard_ceiling_percent) / 100;
    const int64_t hard = std::min(share * f.hard_shares, ceiling);
    const int64_t soft =
        std::min({share * f.soft_percent / 100, left * f.soft_ceiling_percent / 100, hard});
    return {std::max(soft - off_limits, f.least_ms), std::max(hard - off_limits, f.least_ms)};
}
