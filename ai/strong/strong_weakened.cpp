#include "ai/strong/strong_weakened.h"
#include "ai/strong/search/strong_alpha_beta.h"
#include "ai/strong/strong_eval.h"
#include "rules/fast/exchange.h"

#include <algorithm>

namespace strong {

using namespace fast;

namespace {

// After `m`, can the opponent take the mover's queen and come out at least this far ahead?
constexpr int queen_handed_over = 600;

bool hands_over_queen(const position &before, move16 m) {
    position after = before;
    undo_record undo;
    make_move(&after, m, &undo);
    move_list replies;
    legal_moves_of(after, &replies);
    for (int i = 0; i < replies.count; i++) {
        const move16 r = replies.moves[i];
        if (piece_type(after.tiles[move_to(r)]) == type_queen &&
            exchange_at_least(after, r, queen_handed_over))
            return true;
    }
    return false;
}

// The positions the weakened choice may search beyond its setting's own budget.
constexpr uint64_t choice_node_floor = 20000;

// The weakened player's choice: every root move scored by a search one ply shallower than
// the limits allow, a noise added, and the best of those near the best score taken.
move16 weakened_choice(thread_data &t, const move_list &legal, const strength_limits &limits,
                       uint64_t seed, move16 fallback) {
    const int depth = std::max(1, limits.depth - 1);
    t.root_depth = depth;
    // An oversight: the moves judged by the position they leave, the replies unseen.
    const bool oversight = strength_percent(seed, t.pos.key) < limits.oversight_percent;
    int scores[max_moves];
    for (int i = 0; i < legal.count; i++) {
        undo_record undo;
        make(t, legal.moves[i], &undo);
        scores[i] = oversight ? -evaluate(t.pos)
                              : -search(t, -infinite_score, infinite_score, depth - 1, 1, false);
        unmake(t, undo);
        if (t.stopped) return fallback;
    }
    // A shallow search can miss the reply that takes the queen; a careful player does not:
    // such moves are passed over, however they scored, while any other move is left.
    bool careless[max_moves] = {};
    bool any_careful = !limits.keeps_queen;
    for (int i = 0; i < legal.count && limits.keeps_queen; i++) {
        careless[i] = hands_over_queen(t.pos, legal.moves[i]);
        any_careful |= !careless[i];
    }
    int near_best = -infinite_score;
    for (int i = 0; i < legal.count; i++)
        if (!(careless[i] && any_careful)) near_best = std::max(near_best, scores[i]);
    move16 chosen = fallback;
    int chosen_value = -2 * infinite_score;
    for (int i = 0; i < legal.count; i++) {
        if (scores[i] < near_best - limits.keep_within_cp || (careless[i] && any_careful)) continue;
        const int value =
            scores[i] + strength_noise(seed, t.pos.key ^ legal.moves[i], limits.noise_cp);
        if (value > chosen_value) chosen_value = value, chosen = legal.moves[i];
    }
    return chosen;
}

} // namespace

void choose_weakened(thread_data &main, const strong_settings &limited, const move_list &legal,
                     const strength_limits &strength, uint64_t seed, best_root_line *answer) {
    search_shared &shared = *main.shared;
    // The node limit was the search's; the choice has a budget of its own, generous enough
    // for the shallow searches of the weaker settings to finish.
    strong_settings choosing = limited;
    choosing.node_limit = main.nodes + 4 * strength.nodes + choice_node_floor;
    shared.settings = &choosing;
    shared.stop.store(false);
    main.stopped = false;
    const move16 chosen = weakened_choice(main, legal, strength, seed, answer->best);
    shared.settings = &limited;
    if (chosen != answer->best) {
        answer->best = chosen;
        answer->pv[0] = chosen;
        answer->pv_length = 1;
    }
}

} // namespace strong
