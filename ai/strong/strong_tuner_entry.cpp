// The tuner's entry point: the quiescence score of a position, the search's own, with no
// table kept.
#include "ai/strong/search/strong_quiescence.h"
#include "ai/strong/search/strong_search.h"

#include <memory>

int quiescence_score(const fast::position &pos) {
    using namespace strong;
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
