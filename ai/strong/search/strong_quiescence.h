// The strong search's quiescence: from the position on, only captures (and check evasions)
// until the position is quiet, so that no exchange is judged half-way.
#pragma once

#include "ai/strong/search/strong_search_state.h"

namespace strong {

int quiesce(thread_data &t, int alpha, int beta, int ply);

} // namespace strong
