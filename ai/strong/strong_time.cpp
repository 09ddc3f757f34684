#include "ai/strong/strong_time.h"

#include <algorithm>

move_budget limits_for_move_time(int64_t move_time_ms, int64_t overhead_ms) {
    const int64_t hard = std::max<int64_t>(1, move_time_ms - overhead_ms);
    // An iteration takes about as long as all before it together: one begun late rarely
    // finishes, though its first moves may still change the choice.
    return {std::max<int64_t>(1, hard * 6 / 10), hard};
}
