#include "ai/strong/search/strong_quiescence.h"
#include "ai/strong/search/strong_move_order.h"
#include "ai/strong/strong_eval.h"
#include "rules/fast/exchange.h"

namespace strong {

using namespace fast;

int quiesce(thread_data &t, int alpha, int beta, int ply) {
    count_node(t, ply);
    t.pv_length[ply] = ply;
    if (t.stopped) return 0;
    position &pos = t.pos;
    if (ply >= max_ply - 1) return evaluate(pos);

    const bool pv_node = beta - alpha > 1;
    tt_hit hit{};
    const uint64_t key = table_key(pos);
    const bool found = probe_table(*t.shared->table, key, &hit);
    if (found && !pv_node) {
        const int s = score_from_table(hit.score, ply);
        if (hit.bound == tt_bound::exact || (hit.bound == tt_bound::lower && s >= beta) ||
            (hit.bound == tt_bound::upper && s <= alpha))
            return s;
    }

    const bool check = in_check(pos);
    int best, eval = 0;
    if (check) {
        best = -strong_mate_score + ply;
    } else {
        eval = found ? hit.eval : evaluate(pos);
        if (eval >= beta) return eval;
        best = eval;
        if (eval > alpha) alpha = eval;
    }

    move_list list;
    generate_moves(pos, check ? move_kind::all : move_kind::captures, &list);
    int scores[max_moves];
    score_moves(t, list, scores, found ? hit.move : null_move16, ply, true);
    const int alpha_before = alpha;
    move16 best_move = null_move16;
    for (int i = 0; i < list.count; i++) {
        const move16 m = pick_next(list, scores, i);
        if (!check) {
            // Captures that lose material, or cannot lift the score near alpha, are left.
            if (!move_ascend(m) && eval + victim_value(pos, m) + 200 <= alpha) continue;
            if (!exchange_at_least(pos, m, 0)) continue;
        }
        undo_record undo;
        make_move(&pos, m, &undo);
        if (mover_in_check(pos)) {
            unmake_move(&pos, undo);
            continue;
        }
        prefetch_table(*t.shared->table, table_key(pos));
        const int score = -quiesce(t, -beta, -alpha, ply + 1);
        unmake_move(&pos, undo);
        if (t.stopped) return 0;
        if (score > best) {
            best = score;
            if (score > alpha) {
                alpha = score;
                best_move = m;
                if (alpha >= beta) break;
            }
        }
    }
    const tt_bound bound = best >= beta          ? tt_bound::lower
                           : best > alpha_before ? tt_bound::exact
                                                 : tt_bound::upper;
    store_in_table(*t.shared->table, key, best_move, score_to_table(best, ply), check ? 0 : eval, 0,
                   bound);
    return best;
}

} // namespace strong
