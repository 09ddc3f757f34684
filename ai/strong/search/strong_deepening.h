// Iterative deepening with aspiration windows, on the main thread and on helper threads that
// search the same tree and share the table; the main thread decides when to stop.
#pragma once

#include "ai/strong/search/strong_search_state.h"

#include <memory>
#include <vector>

namespace strong {

strong_move move_of(move16 m);

// The line `r` found by an iteration of `depth`, as the caller is told it.
strong_iteration iteration_of(thread_data &t, const best_root_line &r, int depth);

using search_threads = std::vector<std::unique_ptr<thread_data>>;

// The threads of a search, the main one first, each ready at the root and counted in
// `shared`.
search_threads make_threads(search_shared *shared, const position &root, unsigned count);

// Deepens on every thread, the main one on the caller's, until the settings or the stop
// flag end it; then the helpers are stopped and joined. `answer` holds the move to play if
// no iteration finishes, and gets the main thread's line. Returns the depth it comes from.
int deepen(search_threads &threads, best_root_line *answer);

} // namespace strong
