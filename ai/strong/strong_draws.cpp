#include "ai/strong/search/strong_search.h"
#include "rules/fast/fast_moves.h"

namespace {

// The game keeps sixteen positions, the current one with them.
constexpr int game_window = 15;
constexpr uint32_t game_claim_after = 50;
constexpr uint32_t fide_fifty_moves = 100;

bool bare_kings(const fast::position &pos) {
    return fast::occupied_squares(pos) ==
           (fast::pieces_of(pos, 0, type_king) | fast::pieces_of(pos, 1, type_king));
}

bool checkmated(const fast::position &pos) {
    if (!fast::in_check(pos)) return false;
    fast::move_list legal;
    fast::legal_moves_of(pos, &legal);
    return legal.count == 0;
}

} // namespace

bool drawn_by_rules(const fast::position &pos, draw_rules rules, const uint64_t *keys, int count,
                    int first_searched) {
    if (bare_kings(pos)) return true;
    // The game judges the move counter before it looks for a mate: past 50 a person may
    // claim the draw even when mated.
    if (rules == draw_rules::game && pos.clock > game_claim_after) return true;
    if (rules == draw_rules::fide && pos.clock >= fide_fifty_moves && !checkmated(pos)) return true;

    const int current = count - 1;
    const uint64_t key = keys[current];
    // The game compares boards whoever is to move; the usual rule compares positions with
    // the same side to move, since the last pawn move or capture.
    const int step = rules == draw_rules::game ? 1 : 2;
    const int window = rules == draw_rules::game ? game_window : static_cast<int>(pos.clock);
    const int oldest = current - window < 0 ? 0 : current - window;
    int repeats = 0;
    for (int i = current - step; i >= oldest; i -= step) {
        if (keys[i] != key) continue;
        // Once within the search is enough: the side that can repeat can do it again.
        if (i >= first_searched) return true;
        if (++repeats >= 2) return true;
    }
    return false;
}
