#include "ai/strong/search/strong_deepening.h"
#include "ai/strong/search/strong_alpha_beta.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace strong {

using namespace fast;

namespace {

constexpr int aspiration_from_depth = 5;
constexpr int aspiration_window = 20;

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

} // namespace

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

search_threads make_threads(search_shared *shared, const position &root, unsigned count) {
    search_threads threads;
    for (unsigned i = 0; i < count; i++) {
        threads.push_back(std::make_unique<thread_data>());
        prepare_thread(*threads.back(), root, shared, static_cast<int>(i));
        shared->node_counts.push_back(&threads.back()->published_nodes);
    }
    return threads;
}

int deepen(search_threads &threads, best_root_line *answer) {
    std::vector<std::thread> helpers;
    best_root_line helper_answer;
    int helper_depth = 0;
    for (size_t i = 1; i < threads.size(); i++)
        helpers.emplace_back(iterate, std::ref(*threads[i]), &helper_answer, &helper_depth);
    int depth = 0;
    iterate(*threads[0], answer, &depth);
    threads[0]->shared->stop.store(true);
    for (std::thread &h : helpers) h.join();
    threads[0]->published_nodes.store(threads[0]->nodes);
    return depth;
}

} // namespace strong
