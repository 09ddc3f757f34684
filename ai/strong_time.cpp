#include "ai/strong_time.h"

#include <algorithm>

namespace {

constexpr int64_t assumed_moves_to_go = 30;
constexpr int64_t max_moves_to_go = 50;

} // namespace

strong_time_limits limits_for_move_time(int64_t move_time_ms, int64_t overhead_ms) {
    const int64_t hard = std::max<int64_t>(1, move_time_ms - overhead_ms);
    // An iteration takes about as long as all before it together: one begun late rarely
    // finishes, though its first moves may still change the choice.
    return {std::max<int64_t>(1, hard * 6 / 10), hard};
}

strong_time_limits limits_for_clock(int64_t time_left_ms, int64_t increment_ms, int64_t moves_to_go,
                                    int64_t overhead_ms) {
    const int64_t usable = std::max<int64_t>(1, time_left_ms - overhead_ms);
    const int64_t moves =
        moves_to_go > 0 ? std::min(moves_to_go, max_moves_to_go) : assumed_moves_to_go;
    const int64_t share = usable / moves + increment_ms * 3 / 4;
    // Never more than a fifth of what is left on a move (unless it is the last before the
    // control), so that a long think cannot lose on time.
    const int64_t ceiling = moves == 1 ? usable * 9 / 10 : usable / 5;
    const int64_t hard = std::clamp<int64_t>(share * 3, 1, std::max<int64_t>(1, ceiling));
    const int64_t soft = std::clamp<int64_t>(share * 6 / 10, 1, hard);
    return {soft, hard};
}
