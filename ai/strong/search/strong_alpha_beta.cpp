#include "ai/strong/search/strong_alpha_beta.h"
#include "ai/strong/search/strong_move_order.h"
#include "ai/strong/search/strong_quiescence.h"
#include "ai/strong/strong_eval.h"
#include "rules/fast/exchange.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace strong {

using namespace fast;

namespace {

constexpr int most_quiets_kept = 64;

struct reduction_table {
    int plies[64][64]; // by depth and move number
};

// Late-move reductions grow with the logarithms of depth and move number.
const reduction_table &reductions() {
    static const reduction_table table = [] {
        reduction_table t{};
        for (int d = 1; d < 64; d++)
            for (int m = 1; m < 64; m++)
                t.plies[d][m] = static_cast<int>(0.75 + std::log(d) * std::log(m) / 2.25);
        return t;
    }();
    return table;
}

// What a node knows before it tries its moves.
struct node_facts {
    bool pv_node;
    bool check;
    bool improving; // the static evaluation rose since the side's last move
    bool has_pieces;
    // Looking for a shorter mate than one found: no move may be judged by its evaluation.
    bool mate_window;
    int eval; // the static evaluation, or the table's score where its bound says better
};

void update_pv(thread_data &t, int ply, move16 m) {
    t.pv[ply][ply] = m;
    for (int i = ply + 1; i < t.pv_length[ply + 1]; i++) t.pv[ply][i] = t.pv[ply + 1][i];
    t.pv_length[ply] = std::max(t.pv_length[ply + 1], ply + 1);
}

bool allowed_at_root(const search_shared &s, move16 m) {
    if (s.root_moves.count == 0) return true;
    for (int i = 0; i < s.root_moves.count; i++)
        if (s.root_moves.moves[i] == m) return true;
    return false;
}

// A node below the root that needs no search: drawn by the rules, at the ply limit, or with
// no line from it able to beat a mate already found nearer the root (the window is narrowed
// to the mates still possible).
bool settled_before_search(thread_data &t, int *alpha, int *beta, int ply, int *score) {
    const position &pos = t.pos;
    if (drawn_by_rules(pos, t.shared->settings->rules, t.keys.data(), t.key_count,
                       t.first_searched)) {
        *score = 0;
        return true;
    }
    if (ply >= max_ply - 1) {
        *score = evaluate(pos);
        return true;
    }
    *alpha = std::max(*alpha, -strong_mate_score + ply);
    *beta = std::min(*beta, strong_mate_score - ply - 1);
    *score = *alpha;
    return *alpha >= *beta;
}

bool table_cutoff(const tt_hit &hit, int tt_score, int alpha, int beta, int depth) {
    return hit.depth >= depth &&
           (hit.bound == tt_bound::exact || (hit.bound == tt_bound::lower && tt_score >= beta) ||
            (hit.bound == tt_bound::upper && tt_score <= alpha));
}

node_facts facts_of(thread_data &t, bool found, const tt_hit &hit, int tt_score, int alpha,
                    int beta, int ply, bool pv_node) {
    const position &pos = t.pos;
    node_facts f{};
    f.pv_node = pv_node;
    f.check = in_check(pos);
    if (f.check) {
        t.static_eval[ply] = -infinite_score;
    } else {
        f.eval = t.static_eval[ply] = found ? hit.eval : evaluate(pos);
        if (found && ((hit.bound == tt_bound::lower && tt_score > f.eval) ||
                      (hit.bound == tt_bound::upper && tt_score < f.eval)))
            f.eval = tt_score;
        f.improving = ply >= 2 && t.static_eval[ply] > t.static_eval[ply - 2];
    }
    f.has_pieces = non_pawn_material(pos, pos.side) > 0;
    f.mate_window = alpha >= mate_bound || beta <= -mate_bound;
    return f;
}

// The score after passing, searched shallower with a null window at beta.
int null_move_score(thread_data &t, int eval, int beta, int depth, int ply, bool cut_node) {
    const int r = 3 + depth / 4 + std::min((eval - beta) / 200, 3);
    undo_record undo;
    make_null_move(&t.pos, &undo);
    t.keys[t.key_count++] = history_key(*t.shared, t.pos);
    t.null_before[ply + 1] = true;
    const int score = -search(t, -beta, -beta + 1, depth - r, ply + 1, !cut_node);
    t.null_before[ply + 1] = false;
    t.key_count--;
    unmake_move(&t.pos, undo);
    return score;
}

// The cutoffs tried before any move, away from the principal line and out of check.
bool pruned_before_moves(thread_data &t, const node_facts &f, int alpha, int beta, int depth,
                         int ply, bool cut_node, int *score) {
    const int eval = f.eval;
    // Reverse futility: far above beta, a quiet move will not fall below it.
    if (depth <= 7 && eval - 80 * (depth - f.improving) >= beta && eval < mate_bound) {
        *score = eval;
        return true;
    }
    // Null move: if passing still holds beta, a real move will too (not in pawn endings,
    // where passing may be the only good move).
    if (depth >= 3 && eval >= beta && t.static_eval[ply] >= beta && f.has_pieces &&
        !t.null_before[ply]) {
        const int passed = null_move_score(t, eval, beta, depth, ply, cut_node);
        *score = t.stopped ? 0 : passed >= mate_bound ? beta : passed;
        if (t.stopped || passed >= beta) return true;
    }
    // Razoring: far below alpha, only captures could help.
    if (depth <= 3 && !f.mate_window && eval + 200 + 150 * depth <= alpha) {
        const int captures = quiesce(t, alpha, alpha + 1, ply);
        *score = t.stopped ? 0 : captures;
        if (t.stopped || captures <= alpha) return true;
    }
    return false;
}

// Moves not worth a search this near the leaves: late quiet moves, quiet moves that cannot
// lift the score to alpha, and moves that lose too much material.
bool skipped_near_leaves(const thread_data &t, const node_facts &f, move16 m, bool quiet, int alpha,
                         int depth, int ply, int legal) {
    if (!quiet) return depth <= 6 && !exchange_at_least(t.pos, m, -100 * depth);
    const int late = (3 + depth * depth) / (f.improving ? 1 : 2);
    if (depth <= 6 && legal >= late) return true;
    if (!f.check && depth <= 6 && t.static_eval[ply] + 100 + 90 * depth <= alpha) return true;
    return depth <= 7 && !exchange_at_least(t.pos, m, -30 * depth * depth);
}

// The move just made, the `legal`th: the first searched with the whole window, the others
// with a null window, reduced when late and quiet, and again in full where they beat alpha.
int search_made_move(thread_data &t, const node_facts &f, move16 m, bool quiet, int alpha, int beta,
                     int depth, int ply, bool cut_node, int legal) {
    const bool gives_check = in_check(t.pos);
    const int extension = gives_check && ply < 2 * t.root_depth ? 1 : 0;
    const int new_depth = depth - 1 + extension;
    if (legal == 1) return -search(t, -beta, -alpha, new_depth, ply + 1, !f.pv_node && !cut_node);
    int r = 0;
    if (depth >= 3 && legal > 1 + f.pv_node && quiet) {
        r = reductions().plies[std::min(depth, 63)][std::min(legal, 63)];
        r += !f.improving + cut_node - f.pv_node - gives_check;
        if (m == t.killers[ply][0] || m == t.killers[ply][1]) r--;
        r -= t.history[t.pos.side ^ 1][move_from(m)][move_to(m)] / 6000;
        r = std::clamp(r, 0, new_depth - 1);
    }
    int score = -search(t, -alpha - 1, -alpha, new_depth - r, ply + 1, true);
    if (score > alpha && r > 0)
        score = -search(t, -alpha - 1, -alpha, new_depth, ply + 1, !cut_node);
    if (score > alpha && score < beta) score = -search(t, -beta, -alpha, new_depth, ply + 1, false);
    return score;
}

void note_root_line(thread_data &t, move16 m, int score) {
    t.root.best = m;
    t.root.score = score;
    t.root.pv_length = t.pv_length[0];
    std::memcpy(t.root.pv, t.pv[0], sizeof(move16) * t.pv_length[0]);
}

} // namespace

int search(thread_data &t, int alpha, int beta, int depth, int ply, bool cut_node) {
    const bool pv_node = beta - alpha > 1;
    const bool root = ply == 0;
    t.pv_length[ply] = ply;
    int settled = 0;
    if (!root && settled_before_search(t, &alpha, &beta, ply, &settled)) return settled;
    if (depth <= 0) return quiesce(t, alpha, beta, ply);
    count_node(t, ply);
    if (t.stopped) return 0;

    const uint64_t key = table_key(t.pos);
    tt_hit hit{};
    const bool found = probe_table(*t.shared->table, key, &hit);
    const move16 tt_move = found ? hit.move : null_move16;
    const int tt_score = found ? score_from_table(hit.score, ply) : 0;
    if (found && !pv_node && table_cutoff(hit, tt_score, alpha, beta, depth)) return tt_score;

    const node_facts f = facts_of(t, found, hit, tt_score, alpha, beta, ply, pv_node);
    t.killers[ply + 1][0] = t.killers[ply + 1][1] = null_move16;
    int pruned = 0;
    if (!pv_node && !f.check &&
        pruned_before_moves(t, f, alpha, beta, depth, ply, cut_node, &pruned))
        return pruned;
    // Without a move from the table, a shallower search orders the moves well enough.
    if (depth >= 4 && !tt_move && (pv_node || cut_node)) depth--;

    move_list list;
    generate_moves(t.pos, move_kind::all, &list);
    int scores[max_moves];
    score_moves(t, list, scores, tt_move, ply, false);

    const int alpha_before = alpha;
    int best = -infinite_score;
    move16 best_move = null_move16;
    int legal = 0;
    move16 quiets[most_quiets_kept];
    int quiet_count = 0;
    for (int i = 0; i < list.count; i++) {
        const move16 m = pick_next(list, scores, i);
        const bool quiet = !is_capture(t.pos, m) && !move_ascend(m);
        if (root && !allowed_at_root(*t.shared, m)) continue;
        if (!root && best > -mate_bound && f.has_pieces && !f.mate_window &&
            skipped_near_leaves(t, f, m, quiet, alpha, depth, ply, legal))
            continue;
        undo_record undo;
        make(t, m, &undo);
        if (mover_in_check(t.pos)) {
            unmake(t, undo);
            continue;
        }
        legal++;
        const int score =
            search_made_move(t, f, m, quiet, alpha, beta, depth, ply, cut_node, legal);
        unmake(t, undo);
        if (t.stopped) return 0;

        if (score > best) {
            best = score;
            if (score > alpha) {
                best_move = m;
                update_pv(t, ply, m);
                if (root) note_root_line(t, m, score);
                if (score >= beta) {
                    if (quiet) reward_quiet_cutoff(t, ply, depth, m, quiets, quiet_count);
                    break;
                }
                alpha = score;
            }
        }
        if (quiet && quiet_count < most_quiets_kept) quiets[quiet_count++] = m;
    }
    if (!legal) return f.check ? -strong_mate_score + ply : 0;

    const tt_bound bound = best >= beta                         ? tt_bound::lower
                           : (best > alpha_before && best_move) ? tt_bound::exact
                                                                : tt_bound::upper;
    store_in_table(*t.shared->table, key, best_move, score_to_table(best, ply),
                   f.check ? 0 : t.static_eval[ply], depth, bound);
    return best;
}

} // namespace strong
