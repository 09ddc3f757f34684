// The weakened player's choice (below full strength): after the search, every root move
// scored by a shallow search, a noise added, and one of those near the best taken.
#pragma once

#include "ai/strong/search/strong_search_state.h"
#include "ai/strong/strong_strength.h"

namespace strong {

// Replaces the search's best move in `answer` by the weakened player's choice among `legal`.
// The choice has a node budget of its own beyond `limited`'s; where it runs out, the
// search's move stands.
void choose_weakened(thread_data &main, const strong_settings &limited,
                     const fast::move_list &legal, const strength_limits &strength, uint64_t seed,
                     best_root_line *answer);

} // namespace strong
