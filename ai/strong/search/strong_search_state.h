// What the strong search keeps while it runs: what its threads share (the table, the
// settings, the stop flag, the game's positions) and what each thread keeps for itself (its
// copy of the position, the positions on its path, killers, history, principal lines), with
// the small steps every part of the search takes (a move made and unmade, a node counted).
#pragma once

#include "ai/strong/search/strong_search.h"
#include "ai/strong/search/strong_tt.h"
#include "ai/strong/strong_player.h"
#include "rules/fast/fast_moves.h"
#include "rules/fast/repetition_key.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

namespace strong {

using fast::move16;
using fast::null_move16;
using fast::position;
using steady = std::chrono::steady_clock;

constexpr int max_ply = strong_max_ply;
constexpr int max_depth = max_ply - 8;
constexpr int check_every = 1024; // nodes between looks at the clock and the stop flag
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
    fast::move_list root_moves;      // the moves the root may play; none: every move
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

// A thread ready to search from `root`, with the game's positions behind it.
void prepare_thread(thread_data &t, const position &root, search_shared *shared, int id);

// The main thread looks at the clock, the node limit and the stop flag; every thread
// publishes its node count and stops once the search is stopped.
void poll(thread_data &t);

uint64_t total_nodes(const search_shared &s);

inline int64_t elapsed_ms(const search_shared &s) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(steady::now() - s.start).count();
}

inline void count_node(thread_data &t, int ply) {
    if (++t.nodes % check_every == 0) poll(t);
    if (ply > t.seldepth) t.seldepth = ply;
}

inline uint64_t table_key(const position &pos) {
    if (pos.clock < counter_keyed_from) return pos.key;
    return pos.key ^ (0x9E3779B97F4A7C15ull * (pos.clock - counter_keyed_from + 1));
}

// Mate scores go into the table as seen from the stored node, and come out from the
// root's side again.
inline int score_to_table(int score, int ply) {
    if (score >= mate_bound) return score + ply;
    if (score <= -mate_bound) return score - ply;
    return score;
}
inline int score_from_table(int score, int ply) {
    if (score >= mate_bound) return score - ply;
    if (score <= -mate_bound) return score + ply;
    return score;
}

// The key the draw rules compare positions by.
inline uint64_t history_key(const search_shared &s, const position &pos) {
    return s.repetition_keys ? fast::repetition_key(pos) : fast::board_key(pos);
}

inline void make(thread_data &t, move16 m, fast::undo_record *undo) {
    fast::make_move(&t.pos, m, undo);
    prefetch_table(*t.shared->table, table_key(t.pos));
    t.keys[t.key_count++] = history_key(*t.shared, t.pos);
}

inline void unmake(thread_data &t, const fast::undo_record &undo) {
    fast::unmake_move(&t.pos, undo);
    t.key_count--;
}

} // namespace strong
