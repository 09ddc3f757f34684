// The strong search's main search: principal-variation alpha-beta with the transposition
// table, null-move pruning, futility pruning, razoring and late-move reductions.
#pragma once

#include "ai/strong/search/strong_search_state.h"

namespace strong {

// The score of the thread's position from the side to move, searched `depth` plies deep at
// `ply` from the root; at the root the best line is kept in t.root. A cut node is one
// expected to fail high.
int search(thread_data &t, int alpha, int beta, int depth, int ply, bool cut_node);

} // namespace strong
