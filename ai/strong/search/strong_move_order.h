// The order the strong search tries moves in: the table's move, good captures by victim and
// attacker, killers, the history of quiet moves, bad captures last; and what a cutoff
// teaches the killers and the history.
#pragma once

#include "ai/strong/search/strong_search_state.h"

#include <cstdlib>
#include <utility>

namespace strong {

constexpr int history_limit = 16384;

// What a capture (or an ascension) wins at most: the victim, and the piece a pawn becomes.
int victim_value(const position &pos, move16 m);

void score_moves(const thread_data &t, const fast::move_list &list, int *scores, move16 tt_move,
                 int ply, bool quiescence);

// The best-scored move from `from` on, swapped into place.
inline move16 pick_next(fast::move_list &list, int *scores, int from) {
    int best = from;
    for (int i = from + 1; i < list.count; i++)
        if (scores[i] > scores[best]) best = i;
    std::swap(list.moves[from], list.moves[best]);
    std::swap(scores[from], scores[best]);
    return list.moves[from];
}

inline void update_history(int &entry, int bonus) {
    entry += bonus - entry * std::abs(bonus) / history_limit;
}

// A quiet move `m` held beta: it becomes a killer, and gains history over the quiet moves
// tried before it.
void reward_quiet_cutoff(thread_data &t, int ply, int depth, move16 m, const move16 *quiets,
                         int quiet_count);

} // namespace strong
