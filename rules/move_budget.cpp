#include "rules/move_budget.h"

#include <algorithm>

namespace {

constexpr int64_t hard_shares = 3;

int64_t less_overhead(int64_t ms, int64_t overhead_ms) {
    return std::max<int64_t>(ms - overhead_ms, 0);
}

} // namespace

move_budget budget_for_move(int64_t left_ms, int64_t increment_ms, int64_t moves_to_go,
                            int64_t overhead_ms) {
    left_ms = std::max<int64_t>(left_ms, 0);
    const int64_t moves = moves_to_go > 0 ? moves_to_go : assumed_moves_to_go;
    const int64_t share = left_ms / moves + std::max<int64_t>(increment_ms, 0);
    const int64_t soft = std::min(share, left_ms / 2);
    const int64_t hard = std::min(hard_shares * share, left_ms * 3 / 4);
    return {less_overhead(soft, overhead_ms), less_overhead(hard, overhead_ms)};
}

bool would_overrun(const move_budget &budget, int64_t elapsed_ms, int64_t next_step_ms) {
    return elapsed_ms + next_step_ms > budget.hard_ms;
}
