#include "ai/strong/search/strong_search_state.h"

#include <cstring>

namespace strong {

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

uint64_t total_nodes(const search_shared &s) {
    uint64_t n = 0;
    for (const auto *count : s.node_counts) n += count->load(std::memory_order_relaxed);
    return n;
}

} // namespace strong
