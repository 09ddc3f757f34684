// Iterative deepening principal-variation search with aspiration windows, a shared
// transposition table, quiescence search, null-move pruning, late-move reductions and
// futility pruning; helper threads (if asked for) search the same tree and share the table.
#include "ai/strong/strong_search.h"
#include "ai/strong/strong_eval.h"
#include "ai/strong/strong_player.h"
#include "ai/strong/strong_strength.h"
#include "rules/fast/exchange.h"
#include "rules/fast/fast_moves.h"
#include "rules/fast/repetition_key.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

using namespace fast;

namespace {

using steady = std::chrono::steady_clock;

constexpr int max_ply = strong_max_ply;
constexpr int check_every = 1024; // nodes between looks at the clock and the stop flag
constexpr int history_limit = 16384;
constexpr int aspiration_from_depth = 5;
constexpr int aspiration_window = 20;
constexpr int max_depth = max_ply - 8;
// Positions this close to the move-count limit are kept apart in the table by their
// counter: the same board may be a win with time left and a draw without.
constexpr uint32_t counter_keyed_from = 36;

struct search_shared {
    transposition_table *table;
    const strong_settings *settings;
    const strong_observer *observer;
    std::atomic<bool> stop{false};
    steady::time_point start;
    // Under FIDE rules positions repeat as the rule compares them, has-moved flags aside.
    bool repetition_keys = false;
    std::vector<uint64_t> game_keys; // oldest first, the root's last
    move_list root_moves;            // the moves the root may play; none: every move
    std::vector<std::atomic<uint64_t> *> node_counts;
};

struct best_root_line {
    move16 best = null_move16;
    int score = -infinite_score;
    move16 pv[max_ply];
    int pv_length = 0;
};

struct thread_data {
    position pos;
    search_shared *shared;
    int id = 0;
    uint64_t nodes = 0;
    std::atomic<uint64_t> published_nodes{0};
    int seldepth = 0;
    int root_depth = 0;
    bool stopped = false;
    std::vector<uint64_t> keys; // the game's, then the search's positions
    int key_count = 0;
    int first_searched = 0;
    move16 killers[max_ply][2];
    int history[2][64][64];
    move16 pv[max_ply][max_ply];
    int pv_length[max_ply];
    int static_eval[max_ply];
    bool null_before[max_ply + 1];
    best_root_line root; // the best root move of the iteration under way
};

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

int64_t elapsed_ms(const search_shared &s) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(steady::now() - s.start).count();
}

uint64_t total_nodes(const search_shared &s) {
    uint64_t n = 0;
    for (const auto *count : s.node_counts) n += count->load(std::memory_order_relaxed);
    return n;
}

uint64_t table_key(const position &pos) {
    if (pos.clock < counter_keyed_from) return pos.key;
    return pos.key ^ (0x9E3779B97F4A7C15ull * (pos.clock - counter_keyed_from + 1));
}

// Mate scores go into the table as seen from the stored node, and come out from the
// root's side again.
int score_to_table(int score, int ply) {
    if (score >= mate_bound) return score + ply;
    if (score <= -mate_bound) return score - ply;
    return score;
}
int score_from_table(int score, int ply) {
    if (score >= mate_bound) return score - ply;
    if (score <= -mate_bound) return score + ply;
    return score;
}

void poll(thread_data &t) {
    t.published_nodes.store(t.nodes, std::memory_order_relaxed);
    search_shared &s = *t.shared;
    if (t.id == 0) {
        if (s.observer->tick) s.observer->tick(s.observer->context);
        const strong_settings &set = *s.settings;
        const bool outside_stop = s.observer->stop && s.observer->stop->load();
        const bool out_of_time =
            set.time.hard_ms != no_time_limit && elapsed_ms(s) >= set.time.hard_ms;
        const bool out_of_nodes = set.node_limit && t.nodes >= set.node_limit;
        if (outside_stop || out_of_time || out_of_nodes) s.stop.store(true);
    }
    if (s.stop.load(std::memory_order_relaxed)) t.stopped = true;
}

inline void count_node(thread_data &t, int ply) {
    if (++t.nodes % check_every == 0) poll(t);
    if (ply > t.seldepth) t.seldepth = ply;
}

uint64_t history_key(const search_shared &s, const position &pos) {
    return s.repetition_keys ? repetition_key(pos) : board_key(pos);
}

void make(thread_data &t, move16 m, undo_record *undo) {
    make_move(&t.pos, m, undo);
    prefetch_table(*t.shared->table, table_key(t.pos));
    t.keys[t.key_count++] = history_key(*t.shared, t.pos);
}

bool allowed_at_root(const search_shared &s, move16 m) {
    if (s.root_moves.count == 0) return true;
    for (int i = 0; i < s.root_moves.count; i++)
        if (s.root_moves.moves[i] == m) return true;
    return false;
}

void unmake(thread_data &t, const undo_record &undo) {
    unmake_move(&t.pos, undo);
    t.key_count--;
}

// Move ordering: the table's move, good captures by victim and attacker, killers, the
// history of quiet moves, bad captures last.
constexpr int order_table_move = 1 << 30;
constexpr int order_good_capture = 1 << 28;
constexpr int order_killer = 1 << 27;
constexpr int order_bad_capture = -(1 << 28);

int victim_value(const position &pos, move16 m) {
    const uint8_t target = pos.tiles[move_to(m)];
    int v = target ? exchange_value[target & type_mask] : exchange_value[type_pawn];
    if (move_ascend(m)) v += exchange_value[move_ascend(m)];
    return v;
}

void score_moves(const thread_data &t, const move_list &list, int *scores, move16 tt_move, int ply,
                 bool quiescence) {
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

move16 pick_next(move_list &list, int *scores, int from) {
    int best = from;
    for (int i = from + 1; i < list.count; i++)
        if (scores[i] > scores[best]) best = i;
    std::swap(list.moves[from], list.moves[best]);
    std::swap(scores[from], scores[best]);
    return list.moves[from];
}

void update_history(int &entry, int bonus) {
    entry += bonus - entry * std::abs(bonus) / history_limit;
}

void update_pv(thread_data &t, int ply, move16 m) {
    t.pv[ply][ply] = m;
    for (int i = ply + 1; i < t.pv_length[ply + 1]; i++) t.pv[ply][i] = t.pv[ply + 1][i];
    t.pv_length[ply] = std::max(t.pv_length[ply + 1], ply + 1);
}

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

int search(thread_data &t, int alpha, int beta, int depth, int ply, bool cut_node) {
    const bool pv_node = beta - alpha > 1;
    const bool root = ply == 0;
    position &pos = t.pos;
    t.pv_length[ply] = ply;

    if (!root) {
        if (drawn_by_rules(pos, t.shared->settings->rules, t.keys.data(), t.key_count,
                           t.first_searched))
            return 0;
        if (ply >= max_ply - 1) return evaluate(pos);
        // No line from here can beat a mate already found nearer the root.
        alpha = std::max(alpha, -strong_mate_score + ply);
        beta = std::min(beta, strong_mate_score - ply - 1);
        if (alpha >= beta) return alpha;
    }
    if (depth <= 0) return quiesce(t, alpha, beta, ply);
    count_node(t, ply);
    if (t.stopped) return 0;

    const uint64_t key = table_key(pos);
    tt_hit hit{};
    const bool found = probe_table(*t.shared->table, key, &hit);
    const move16 tt_move = found ? hit.move : null_move16;
    const int tt_score = found ? score_from_table(hit.score, ply) : 0;
    if (found && !pv_node && hit.depth >= depth &&
        (hit.bound == tt_bound::exact || (hit.bound == tt_bound::lower && tt_score >= beta) ||
         (hit.bound == tt_bound::upper && tt_score <= alpha)))
        return tt_score;

    const bool check = in_check(pos);
    int eval = 0;
    bool improving = false;
    if (check) {
        t.static_eval[ply] = -infinite_score;
    } else {
        eval = t.static_eval[ply] = found ? hit.eval : evaluate(pos);
        // The table's score is a better guess where its bound allows.
        if (found && ((hit.bound == tt_bound::lower && tt_score > eval) ||
                      (hit.bound == tt_bound::upper && tt_score < eval)))
            eval = tt_score;
        improving = ply >= 2 && t.static_eval[ply] > t.static_eval[ply - 2];
    }
    t.killers[ply + 1][0] = t.killers[ply + 1][1] = null_move16;
    const bool has_pieces = non_pawn_material(pos, pos.side) > 0;
    // Looking for a shorter mate than one found, no move may be judged by its evaluation.
    const bool mate_window = alpha >= mate_bound || beta <= -mate_bound;

    if (!pv_node && !check) {
        // Reverse futility: far above beta, a quiet move will not fall below it.
        if (depth <= 7 && eval - 80 * (depth - improving) >= beta && eval < mate_bound) return eval;
        // Null move: if passing still holds beta, a real move will too (not in pawn
        // endings, where passing may be the only good move).
        if (depth >= 3 && eval >= beta && t.static_eval[ply] >= beta && has_pieces &&
            !t.null_before[ply]) {
            const int r = 3 + depth / 4 + std::min((eval - beta) / 200, 3);
            undo_record undo;
            make_null_move(&pos, &undo);
            t.keys[t.key_count++] = history_key(*t.shared, pos);
            t.null_before[ply + 1] = true;
            const int score = -search(t, -beta, -beta + 1, depth - r, ply + 1, !cut_node);
            t.null_before[ply + 1] = false;
            t.key_count--;
            unmake_move(&pos, undo);
            if (t.stopped) return 0;
            if (score >= beta) return score >= mate_bound ? beta : score;
        }
        // Razoring: far below alpha, only captures could help.
        if (depth <= 3 && !mate_window && eval + 200 + 150 * depth <= alpha) {
            const int score = quiesce(t, alpha, alpha + 1, ply);
            if (t.stopped) return 0;
            if (score <= alpha) return score;
        }
    }
    // Without a move from the table, a shallower search orders the moves well enough.
    if (depth >= 4 && !tt_move && (pv_node || cut_node)) depth--;

    move_list list;
    generate_moves(pos, move_kind::all, &list);
    int scores[max_moves];
    score_moves(t, list, scores, tt_move, ply, false);

    const int alpha_before = alpha;
    int best = -infinite_score;
    move16 best_move = null_move16;
    int legal = 0;
    move16 quiets[64];
    int quiet_count = 0;
    for (int i = 0; i < list.count; i++) {
        const move16 m = pick_next(list, scores, i);
        const bool capture = is_capture(pos, m);
        const bool quiet = !capture && !move_ascend(m);
        if (root && !allowed_at_root(*t.shared, m)) continue;
        if (!root && best > -mate_bound && has_pieces && !mate_window) {
            if (quiet) {
                const int late = (3 + depth * depth) / (improving ? 1 : 2);
                if (depth <= 6 && legal >= late) continue;
                if (!check && depth <= 6 && t.static_eval[ply] + 100 + 90 * depth <= alpha)
                    continue;
                if (depth <= 7 && !exchange_at_least(pos, m, -30 * depth * depth)) continue;
            } else if (depth <= 6 && !exchange_at_least(pos, m, -100 * depth)) {
                continue;
            }
        }
        undo_record undo;
        make(t, m, &undo);
        if (mover_in_check(pos)) {
            unmake(t, undo);
            continue;
        }
        legal++;
        const bool gives_check = in_check(pos);
        const int extension = gives_check && ply < 2 * t.root_depth ? 1 : 0;
        const int new_depth = depth - 1 + extension;

        int score;
        if (legal == 1) {
            score = -search(t, -beta, -alpha, new_depth, ply + 1, !pv_node && !cut_node);
        } else {
            int r = 0;
            if (depth >= 3 && legal > 1 + pv_node && quiet) {
                r = reductions().plies[std::min(depth, 63)][std::min(legal, 63)];
                r += !improving + cut_node - pv_node - gives_check;
                if (m == t.killers[ply][0] || m == t.killers[ply][1]) r--;
                r -= t.history[pos.side ^ 1][move_from(m)][move_to(m)] / 6000;
                r = std::clamp(r, 0, new_depth - 1);
            }
            score = -search(t, -alpha - 1, -alpha, new_depth - r, ply + 1, true);
            if (score > alpha && r > 0)
                score = -search(t, -alpha - 1, -alpha, new_depth, ply + 1, !cut_node);
            if (score > alpha && score < beta)
                score = -search(t, -beta, -alpha, new_depth, ply + 1, false);
        }
        unmake(t, undo);
        if (t.stopped) return 0;

        if (score > best) {
            best = score;
            if (score > alpha) {
                best_move = m;
                update_pv(t, ply, m);
                if (root) {
                    t.root.best = m;
                    t.root.score = score;
                    t.root.pv_length = t.pv_length[0];
                    std::memcpy(t.root.pv, t.pv[0], sizeof(move16) * t.pv_length[0]);
                }
                if (score >= beta) {
                    if (quiet) {
                        if (t.killers[ply][0] != m) {
                            t.killers[ply][1] = t.killers[ply][0];
                            t.killers[ply][0] = m;
                        }
                        const int bonus = std::min(depth * depth, 400);
                        update_history(t.history[pos.side][move_from(m)][move_to(m)], bonus);
                        for (int q = 0; q < quiet_count; q++)
                            update_history(
                                t.history[pos.side][move_from(quiets[q])][move_to(quiets[q])],
                                -bonus);
                    }
                    break;
                }
                alpha = score;
            }
        }
        if (quiet && quiet_count < 64) quiets[quiet_count++] = m;
    }
    if (!legal) return check ? -strong_mate_score + ply : 0;

    const tt_bound bound = best >= beta                         ? tt_bound::lower
                           : (best > alpha_before && best_move) ? tt_bound::exact
                                                                : tt_bound::upper;
    store_in_table(*t.shared->table, key, best_move, score_to_table(best, ply),
                   check ? 0 : t.static_eval[ply], depth, bound);
    return best;
}

strong_score score_of(int score) {
    strong_score s;
    if (score >= mate_bound)
        s.mate_in = (strong_mate_score - score + 1) / 2;
    else if (score <= -mate_bound)
        s.mate_in = -(strong_mate_score + score) / 2;
    else
        s.cp = score;
    return s;
}

strong_move move_of(move16 m) {
    return {bitboards::coord_of(move_from(m)), bitboards::coord_of(move_to(m)),
            static_cast<uint8_t>(move_ascend(m))};
}

strong_iteration iteration_of(thread_data &t, const best_root_line &r, int depth) {
    t.published_nodes.store(t.nodes, std::memory_order_relaxed);
    strong_iteration it;
    it.depth = depth;
    it.seldepth = t.seldepth;
    it.score = score_of(r.score);
    it.nodes = total_nodes(*t.shared);
    it.time_ms = elapsed_ms(*t.shared);
    for (int i = 0; i < r.pv_length && i < strong_max_ply; i++) it.pv.moves[i] = move_of(r.pv[i]);
    it.pv.length = r.pv_length;
    return it;
}

// One thread's iterative deepening. The main thread (id 0) decides when to stop and keeps
// the answer in `answer`.
void iterate(thread_data &t, best_root_line *answer, int *answer_depth) {
    search_shared &s = *t.shared;
    const strong_settings &set = *s.settings;
    int previous = 0;
    const int last_depth = set.depth_limit > 0 ? std::min(set.depth_limit, max_depth) : max_depth;
    for (int depth = 1 + (t.id & 1); depth <= last_depth; depth++) {
        if (t.id == 0 && depth > 1 && set.time.soft_ms != no_time_limit &&
            elapsed_ms(s) >= set.time.soft_ms)
            break;
        t.root_depth = depth;
        t.seldepth = 0;
        t.root = best_root_line{};
        int alpha = -infinite_score, beta = infinite_score, delta = aspiration_window;
        if (depth >= aspiration_from_depth && std::abs(previous) < mate_bound) {
            alpha = std::max(previous - delta, -infinite_score);
            beta = std::min(previous + delta, infinite_score);
        }
        int score;
        for (;;) {
            score = search(t, alpha, beta, depth, 0, false);
            if (t.stopped) break;
            if (score <= alpha) {
                beta = (alpha + beta) / 2;
                alpha = std::max(score - delta, -infinite_score);
            } else if (score >= beta) {
                beta = std::min(score + delta, infinite_score);
            } else {
                break;
            }
            delta += delta / 2;
        }
        if (t.id != 0) {
            if (t.stopped) return;
            continue;
        }
        // An unfinished iteration still counts where it found a better move.
        if (t.stopped) {
            if (t.root.best && (t.root.best != answer->best || answer->pv_length == 0)) {
                *answer = t.root;
                if (s.observer->iteration_done)
                    s.observer->iteration_done(s.observer->context,
                                               iteration_of(t, *answer, depth));
            }
            return;
        }
        previous = score;
        if (t.root.best) *answer = t.root;
        answer->score = score;
        *answer_depth = depth;
        if (s.observer->iteration_done)
            s.observer->iteration_done(s.observer->context, iteration_of(t, *answer, depth));
        // A mate well within the depth searched will not be bettered.
        if (std::abs(score) >= mate_bound && 2 * (strong_mate_score - std::abs(score)) + 6 < depth)
            break;
        if (set.node_limit && t.nodes >= set.node_limit) break;
    }
}

void prepare_thread(thread_data &t, const position &root, search_shared *shared, int id) {
    t.pos = root;
    t.shared = shared;
    t.id = id;
    t.keys.assign(shared->game_keys.begin(), shared->game_keys.end());
    t.keys.resize(shared->game_keys.size() + max_ply + 1);
    t.key_count = static_cast<int>(shared->game_keys.size());
    t.first_searched = t.key_count;
    std::memset(t.killers, 0, sizeof t.killers);
    std::memset(t.history, 0, sizeof t.history);
    std::memset(t.null_before, 0, sizeof t.null_before);
}

// The game's history as keys, oldest first, ending with the position to move from: the
// whole game's when the caller gave it (and it ends where the game stands), else the
// game's own memory of its last sixteen positions.
void collect_game_keys(const game_state &game, const strong_settings &settings,
                       const position &root, search_shared *s) {
    const uint64_t root_key = history_key(*s, root);
    if (s->repetition_keys && !settings.history.empty() && settings.history.back() == root_key) {
        s->game_keys = settings.history;
        return;
    }
    const last_moves &ring = game.game_status.last_moves;
    const struct board empty {};
    for (int i = 0; i < history_slots; i++) {
        const game_position &slot = ring.position[(ring.index + i) % history_slots];
        if (slot.board == empty) continue;
        // The slot's turn is the side that moved into it.
        s->game_keys.push_back(s->repetition_keys ? repetition_key_of(slot.board, !slot.turn)
                                                  : board_key_of(slot.board));
    }
    if (s->game_keys.empty() || s->game_keys.back() != root_key) s->game_keys.push_back(root_key);
}

// The legal moves the settings let the root choose from: all of them unless some of the
// root moves asked for are legal.
move_list root_choices(const move_list &legal, const strong_settings &settings) {
    move_list chosen;
    for (int i = 0; i < legal.count; i++) {
        for (const strong_move &m : settings.root_moves) {
            const move16 asked =
                make_move16(bitboards::square_of(m.src), bitboards::square_of(m.dst), m.ascend);
            if (asked == legal.moves[i]) {
                chosen.moves[chosen.count++] = legal.moves[i];
                break;
            }
        }
    }
    return chosen.count ? chosen : legal;
}

bool one_king_each(const position &pos) {
    const auto kings = [&](int side) {
        return bitboards::count_squares(pieces_of(pos, side, type_king));
    };
    return kings(0) == 1 && kings(1) == 1;
}

// After `m`, can the opponent take the mover's queen and come out at least this far ahead?
constexpr int queen_handed_over = 600;

bool hands_over_queen(const position &before, move16 m) {
    position after = before;
    undo_record undo;
    make_move(&after, m, &undo);
    move_list replies;
    legal_moves_of(after, &replies);
    for (int i = 0; i < replies.count; i++) {
        const move16 r = replies.moves[i];
        if (piece_type(after.tiles[move_to(r)]) == type_queen &&
            exchange_at_least(after, r, queen_handed_over))
            return true;
    }
    return false;
}

// The positions the weakened choice may search beyond its setting's own budget.
constexpr uint64_t choice_node_floor = 20000;

// The weakened player's choice: every root move scored by a search one ply shallower than
// the limits allow, a noise added, and the best of those near the best score taken.
move16 weakened_choice(thread_data &t, const move_list &legal, const strength_limits &limits,
                       uint64_t seed, move16 fallback) {
    const int depth = std::max(1, limits.depth - 1);
    t.root_depth = depth;
    // An oversight: the moves judged by the position they leave, the replies unseen.
    const bool oversight = strength_percent(seed, t.pos.key) < limits.oversight_percent;
    int scores[max_moves];
    for (int i = 0; i < legal.count; i++) {
        undo_record undo;
        make(t, legal.moves[i], &undo);
        scores[i] = oversight ? -evaluate(t.pos)
                              : -search(t, -infinite_score, infinite_score, depth - 1, 1, false);
        unmake(t, undo);
        if (t.stopped) return fallback;
    }
    // A shallow search can miss the reply that takes the queen; a careful player does not:
    // such moves are passed over, however they scored, while any other move is left.
    bool careless[max_moves] = {};
    bool any_careful = !limits.keeps_queen;
    for (int i = 0; i < legal.count && limits.keeps_queen; i++) {
        careless[i] = hands_over_queen(t.pos, legal.moves[i]);
        any_careful |= !careless[i];
    }
    int near_best = -infinite_score;
    for (int i = 0; i < legal.count; i++)
        if (!(careless[i] && any_careful)) near_best = std::max(near_best, scores[i]);
    move16 chosen = fallback;
    int chosen_value = -2 * infinite_score;
    for (int i = 0; i < legal.count; i++) {
        if (scores[i] < near_best - limits.keep_within_cp || (careless[i] && any_careful)) continue;
        const int value =
            scores[i] + strength_noise(seed, t.pos.key ^ legal.moves[i], limits.noise_cp);
        if (value > chosen_value) chosen_value = value, chosen = legal.moves[i];
    }
    return chosen;
}

} // namespace

int quiescence_score(const fast::position &pos) {
    strong_settings settings;
    settings.time = {};
    const strong_observer observer;
    transposition_table table; // without slots: nothing is kept
    search_shared shared;
    shared.table = &table;
    shared.settings = &settings;
    shared.observer = &observer;
    shared.start = steady::now();
    auto t = std::make_unique<thread_data>();
    prepare_thread(*t, pos, &shared, 0);
    return quiesce(*t, -infinite_score, infinite_score, 0);
}

strong_decision choose_strong_move(const game_state &game, const strong_settings &settings,
                                   const strong_observer &observer, strong_memory *memory) {
    strong_decision decision;
    const position root = position_of_game(game);
    move_list all_legal;
    legal_moves_of(root, &all_legal);
    if (all_legal.count == 0) return decision;
    const move_list legal = root_choices(all_legal, settings);
    decision.outcome = strong_outcome::move;
    decision.move = move_of(legal.moves[0]);
    // A board without one king a side is no chess position to search: any legal move.
    if (!one_king_each(root)) return decision;

    strong_memory own;
    if (!memory) {
        resize_table(&own.table, settings.hash_mb);
        memory = &own;
    } else if (!memory->table.buckets) {
        resize_table(&memory->table, settings.hash_mb);
    }
    memory->table.age++;

    // Below full strength: a shallower search with fewer positions.
    strong_settings limited = settings;
    const bool weakened = settings.elo > 0 && settings.elo < full_strength_elo;
    const strength_limits strength = strength_for_elo(settings.elo);
    if (weakened) {
        limited.depth_limit =
            limited.depth_limit ? std::min(limited.depth_limit, strength.depth) : strength.depth;
        limited.node_limit =
            limited.node_limit ? std::min(limited.node_limit, strength.nodes) : strength.nodes;
    }
    search_shared shared;
    shared.table = &memory->table;
    shared.settings = &limited;
    shared.observer = &observer;
    shared.start = steady::now();
    shared.repetition_keys = settings.rules == draw_rules::fide;
    if (legal.count < all_legal.count) shared.root_moves = legal;
    collect_game_keys(game, settings, root, &shared);

    const unsigned thread_count = std::max(1u, settings.threads);
    std::vector<std::unique_ptr<thread_data>> threads;
    for (unsigned i = 0; i < thread_count; i++) {
        threads.push_back(std::make_unique<thread_data>());
        prepare_thread(*threads.back(), root, &shared, static_cast<int>(i));
        shared.node_counts.push_back(&threads.back()->published_nodes);
    }
    std::vector<std::thread> helpers;
    best_root_line helper_answer;
    int helper_depth = 0;
    for (unsigned i = 1; i < thread_count; i++)
        helpers.emplace_back(iterate, std::ref(*threads[i]), &helper_answer, &helper_depth);

    best_root_line answer;
    answer.best = legal.moves[0];
    answer.score = 0;
    int depth = 0;
    iterate(*threads[0], &answer, &depth);
    shared.stop.store(true);
    for (std::thread &h : helpers) h.join();
    threads[0]->published_nodes.store(threads[0]->nodes);
    const bool told_to_stop = observer.stop && observer.stop->load();
    strong_settings choosing = limited;
    if (weakened && !told_to_stop) {
        // The node limit was the search's; the choice has a budget of its own, generous
        // enough for the shallow searches of the weaker settings to finish. Where it runs
        // out, the search's own best move stands.
        choosing.node_limit = threads[0]->nodes + 4 * strength.nodes + choice_node_floor;
        shared.settings = &choosing;
        shared.stop.store(false);
        threads[0]->stopped = false;
        const move16 chosen =
            weakened_choice(*threads[0], legal, strength, settings.seed, answer.best);
        if (chosen != answer.best) {
            answer.best = chosen;
            answer.pv[0] = chosen;
            answer.pv_length = 1;
        }
    }

    decision.move = move_of(answer.best);
    decision.result = iteration_of(*threads[0], answer, depth);
    return decision;
}
