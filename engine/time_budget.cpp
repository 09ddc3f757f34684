#include "engine/time_budget.h"
#include "ai/classic/classic_player.h"

#include <algorithm>

player_limits player_limits_of(const go_limits &limits) {
    player_limits p;
    // "movetime 0" is a limit too (the shortest): the player's 0 would mean none.
    if (limits.movetime != no_limit) p.movetime_ms = std::max<int64_t>(limits.movetime, 1);
    for (int side = 0; side <= 1; side++) {
        p.time_left_ms[side] = limits.time[side] == no_limit ? no_clock : limits.time[side];
        p.increment_ms[side] = limits.increment[side];
    }
    p.moves_to_go = static_cast<int>(limits.movestogo);
    if (limits.depth != no_depth) p.depth = limits.depth;
    if (limits.nodes > 0) p.nodes = static_cast<uint64_t>(limits.nodes);
    p.infinite = limits.infinite;
    for (const san_move &m : limits.searchmoves) p.searchmoves.push_back({m.src, m.dst, m.ascend});
    return p;
}

int64_t move_time_budget(const go_limits &limits, uint8_t side) {
    const int64_t budget = classic_budget_ms(player_limits_of(limits), side, move_overhead_ms);
    return budget == no_budget ? no_limit : budget;
}
