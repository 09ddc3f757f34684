#include "ai/strong/strong_as_player.h"
#include "ai/strong/search/strong_history.h"
#include "ai/strong/strong_strength.h"

#include <chrono>

namespace {

// Spreads the game's seed over its half-moves: each move's seed differs, and repeats.
constexpr uint64_t seed_spread = 1000003u;

player_thinking thinking_of(const strong_iteration &it) {
    player_thinking t;
    t.depth = it.depth;
    t.seldepth = it.seldepth;
    t.has_score = true;
    t.cp = it.score.cp;
    t.mate_in = it.score.mate_in;
    t.nodes = it.nodes;
    t.time_ms = it.time_ms;
    for (int i = 0; i < it.pv.length; i++)
        t.pv.push_back({it.pv.moves[i].src, it.pv.moves[i].dst, it.pv.moves[i].ascend});
    return t;
}

void iteration_done(void *context, const strong_iteration &it) {
    const player_observer &o = *static_cast<const player_observer *>(context);
    if (o.thinking) o.thinking(o.context, thinking_of(it));
    if (o.tick) o.tick(o.context);
}

void tick(void *context) {
    const player_observer &o = *static_cast<const player_observer *>(context);
    if (o.tick) o.tick(o.context);
}

struct strong_player final : player {
    strong_memory *memory;
    strong_setup setup;

    strong_player(strong_memory *m, const strong_setup &s) : memory(m), setup(s) {}

    player_answer decide(const game_moves &game, const player_limits &limits,
                         const player_observer &observer) override {
        strong_observer watch;
        watch.context = const_cast<player_observer *>(&observer);
        watch.iteration_done = iteration_done;
        watch.tick = tick;
        watch.stop = observer.stop;
        strong_settings settings = strong_settings_for(setup, limits, game.now);
        // Under FIDE rules the search sees repetitions over the whole game, not only within
        // the game's own memory of sixteen positions.
        if (settings.rules == draw_rules::fide)
            settings.history = strong_history_keys(game.start, game.moves);
        const strong_decision d = choose_strong_move(game.now, settings, watch, memory);
        player_answer a;
        if (d.outcome == strong_outcome::no_move) {
            a.outcome = player_outcome::no_move;
            return a;
        }
        const game_state &now = game.now;
        const uint8_t ascend =
            reaches_last_row(now.board.tiles[d.move.src.row][d.move.src.col], d.move.dst)
                ? (d.move.ascend ? d.move.ascend : type_queen)
                : 0;
        a.outcome = player_outcome::move;
        a.move = {d.move.src, d.move.dst, ascend};
        a.report = thinking_of(d.result);
        a.summary = strong_report(now, d.result);
        return a;
    }

    std::string name() const override {
        if (setup.elo > 0) return "Vartok strong at Elo " + std::to_string(setup.elo);
        return "Vartok strong";
    }
};

} // namespace

strong_settings strong_settings_for(const strong_setup &setup, const player_limits &limits,
                                    const game_state &now) {
    const int side = now.game_status.turn ? 1 : 0;
    strong_settings s;
    s.hash_mb = setup.hash_mb;
    s.threads = setup.threads;
    s.rules = setup.rules;
    s.elo = setup.elo;
    switch (setup.seeding) {
    case strong_seeding::fixed:
        s.seed = setup.seed;
        break;
    case strong_seeding::by_turn:
        s.seed = setup.seed * seed_spread + now.turn_count;
        break;
    case strong_seeding::fresh:
        s.seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        break;
    }
    for (const san_move &m : limits.searchmoves) s.root_moves.push_back({m.src, m.dst, m.ascend});
    if (limits.depth > 0) s.depth_limit = limits.depth;
    if (limits.nodes > 0) s.node_limit = limits.nodes;
    s.time = {};
    if (limits.infinite) return s;
    if (limits.movetime_ms > 0)
        s.time = limits_for_move_time(limits.movetime_ms, setup.overhead_ms);
    if (limits.time_left_ms[side] != no_clock) {
        const move_budget clock =
            budget_for_move(limits.time_left_ms[side], limits.increment_ms[side],
                            limits.moves_to_go, setup.overhead_ms, strong_clock_figures);
        if (s.time.hard_ms == no_time_limit || clock.hard_ms < s.time.hard_ms) s.time = clock;
    }
    if (limits.movetime_ms <= 0 && limits.time_left_ms[side] == no_clock && setup.move_time_ms > 0)
        s.time = limits_for_move_time(setup.move_time_ms, setup.overhead_ms);
    return s;
}

bool strong_search_ends(const strong_settings &settings) {
    const bool weakened = settings.elo > 0 && settings.elo < full_strength_elo; // depth-limited
    return settings.time.hard_ms != no_time_limit || settings.depth_limit > 0 ||
           settings.node_limit > 0 || weakened;
}

std::unique_ptr<player> new_strong_player(strong_memory *memory, const strong_setup &setup) {
    return std::make_unique<strong_player>(memory, setup);
}
