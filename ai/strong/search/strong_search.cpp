// The strong player's decision: the root's legal moves (those asked for), the table, the
// limits of the strength asked for, the game's positions; then the search on every thread
// and, below full strength, the weakened player's choice.
#include "ai/strong/search/strong_deepening.h"
#include "ai/strong/search/strong_search_state.h"
#include "ai/strong/strong_player.h"
#include "ai/strong/strong_strength.h"
#include "ai/strong/strong_weakened.h"

#include <algorithm>

using namespace fast;
using namespace strong;

namespace {

// The game's history as keys, oldest first, ending with the position to move from: the
// whole game's when the caller gave it (and it ends where the game stands), else the
// game's own memory of its last sixteen positions.
void collect_game_keys(const game_state &game, const strong_settings &settings,
                       const position &root, search_shared *s) {
    const uint64_t root_key = history_key(*s, root);
    if (s->repetition_keys && !settings.history.empty() && settings.history.back() == root_key) {
        s->game_keys = settings.history;
        return;
    }
    const last_moves &ring = game.game_status.last_moves;
    const struct board empty {};
    for (int i = 0; i < history_slots; i++) {
        const game_position &slot = ring.position[(ring.index + i) % history_slots];
        if (slot.board == empty) continue;
        // The slot's turn is the side that moved into it.
        s->game_keys.push_back(s->repetition_keys ? repetition_key_of(slot.board, !slot.turn)
                                                  : board_key_of(slot.board));
    }
    if (s->game_keys.empty() || s->game_keys.back() != root_key) s->game_keys.push_back(root_key);
}

// The legal moves the settings let the root choose from: all of them unless some of the
// root moves asked for are legal.
move_list root_choices(const move_list &legal, const strong_settings &settings) {
    move_list chosen;
    for (int i = 0; i < legal.count; i++) {
        for (const strong_move &m : settings.root_moves) {
            const move16 asked =
                make_move16(bitboards::square_of(m.src), bitboards::square_of(m.dst), m.ascend);
            if (asked == legal.moves[i]) {
                chosen.moves[chosen.count++] = legal.moves[i];
                break;
            }
        }
    }
    return chosen.count ? chosen : legal;
}

bool one_king_each(const position &pos) {
    const auto kings = [&](int side) {
        return bitboards::count_squares(pieces_of(pos, side, type_king));
    };
    return kings(0) == 1 && kings(1) == 1;
}

} // namespace

strong_decision choose_strong_move(const game_state &game, const strong_settings &settings,
                                   const strong_observer &observer, strong_memory *memory) {
    strong_decision decision;
    const position root = position_of_game(game);
    move_list all_legal;
    legal_moves_of(root, &all_legal);
    if (all_legal.count == 0) return decision;
    const move_list legal = root_choices(all_legal, settings);
    decision.outcome = strong_outcome::move;
    decision.move = move_of(legal.moves[0]);
    // A board without one king a side is no chess position to search: any legal move.
    if (!one_king_each(root)) return decision;

    strong_memory own;
    if (!memory) {
        resize_table(&own.table, settings.hash_mb);
        memory = &own;
    } else if (!memory->table.buckets) {
        resize_table(&memory->table, settings.hash_mb);
    }
    memory->table.age++;

    // Below full strength: a shallower search with fewer positions.
    strong_settings limited = settings;
    const bool weakened = settings.elo > 0 && settings.elo < full_strength_elo;
    const strength_limits strength = strength_for_elo(settings.elo);
    if (weakened) {
        limited.depth_limit =
            limited.depth_limit ? std::min(limited.depth_limit, strength.depth) : strength.depth;
        limited.node_limit =
            limited.node_limit ? std::min(limited.node_limit, strength.nodes) : strength.nodes;
    }
    search_shared shared;
    shared.table = &memory->table;
    shared.settings = &limited;
    shared.observer = &observer;
    shared.start = steady::now();
    shared.repetition_keys = settings.rules == draw_rules::fide;
    if (legal.count < all_legal.count) shared.root_moves = legal;
    collect_game_keys(game, settings, root, &shared);

    search_threads threads = make_threads(&shared, root, std::max(1u, settings.threads));
    best_root_line answer;
    answer.best = legal.moves[0];
    answer.score = 0;
    const int depth = deepen(threads, &answer);
    const bool told_to_stop = observer.stop && observer.stop->load();
    if (weakened && !told_to_stop)
        choose_weakened(*threads[0], limited, legal, strength, settings.seed, &answer);

    decision.move = move_of(answer.best);
    decision.result = iteration_of(*threads[0], answer, depth);
    return decision;
}
