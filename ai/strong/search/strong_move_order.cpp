#include "ai/strong/search/strong_move_order.h"
#include "rules/fast/exchange.h"

#include <algorithm>

namespace strong {

namespace {

constexpr int order_table_move = 1 << 30;
constexpr int order_good_capture = 1 << 28;
constexpr int order_killer = 1 << 27;
constexpr int order_bad_capture = -(1 << 28);
constexpr int most_history_bonus = 400;

} // namespace

int victim_value(const position &pos, move16 m) {
    const uint8_t target = pos.tiles[fast::move_to(m)];
    int v = target ? fast::exchange_value[target & type_mask] : fast::exchange_value[type_pawn];
    if (fast::move_ascend(m)) v += fast::exchange_value[fast::move_ascend(m)];
    return v;
}

void score_moves(const thread_data &t, const fast::move_list &list, int *scores, move16 tt_move,
                 int ply, bool quiescence) {
    using namespace fast;
    const position &pos = t.pos;
    for (int i = 0; i < list.count; i++) {
        const move16 m = list.moves[i];
        if (m == tt_move) {
            scores[i] = order_table_move;
            continue;
        }
        const int attacker = exchange_value[pos.tiles[move_from(m)] & type_mask];
        if (is_capture(pos, m) || move_ascend(m) == type_queen) {
            const int mvv_lva = victim_value(pos, m) * 16 - attacker / 16;
            const bool good = quiescence || exchange_at_least(pos, m, 0);
            scores[i] = (good ? order_good_capture : order_bad_capture) + mvv_lva;
        } else if (move_ascend(m)) {
            scores[i] = order_bad_capture - 1; // under-ascensions: almost never right
        } else if (m == t.killers[ply][0]) {
            scores[i] = order_killer + 1;
        } else if (m == t.killers[ply][1]) {
            scores[i] = order_killer;
        } else {
            scores[i] = t.history[pos.side][move_from(m)][move_to(m)];
        }
    }
}

void reward_quiet_cutoff(thread_data &t, int ply, int depth, move16 m, const move16 *quiets,
                         int quiet_count) {
    using fast::move_from, fast::move_to;
    if (t.killers[ply][0] != m) {
        t.killers[ply][1] = t.killers[ply][0];
        t.killers[ply][0] = m;
    }
    const int side = t.pos.side;
    const int bonus = std::min(depth * depth, most_history_bonus);
    update_history(t.history[side][move_from(m)][move_to(m)], bonus);
    for (int q = 0; q < quiet_count; q++)
        update_history(t.history[side][move_from(quiets[q])][move_to(quiets[q])], -bonus);
}

} // namespace strong
