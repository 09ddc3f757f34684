#include "game/review/review_players.h"

#include "ai/strong/strong_as_player.h"
#include "client/engine_client.h"
#include "game/turns/engine_turn.h"

namespace {

// The strong player at full strength on one thread, keeping its table between positions.
struct strong_review_player final : player {
    strong_memory memory;
    std::unique_ptr<player> strong;

    strong_review_player() {
        strong_setup setup;
        setup.rules = draw_rules::fide; // a record is judged by the usual rules
        strong = new_strong_player(&memory, setup);
    }

    player_answer decide(const game_moves &game, const player_limits &limits,
                         const player_observer &observer) override {
        // A depth-limited search repeats exactly only from a clear table.
        if (limits.depth > 0) clear_table(&memory.table);
        return strong->decide(game, limits, observer);
    }

    std::string name() const override { return "Vartok strong"; }
};

// An outside engine, started for this thread alone.
struct engine_review_player final : player {
    engine_client client;
    std::unique_ptr<player> engine = new_engine_player(&client, 0);

    player_answer decide(const game_moves &game, const player_limits &limits,
                         const player_observer &observer) override {
        return engine->decide(game, limits, observer);
    }

    std::string name() const override { return engine->name(); }
};

} // namespace

std::unique_ptr<player> make_review_player(const review_engine &engine, std::string *error) {
    if (engine.command.empty()) return std::make_unique<strong_review_player>();
    auto p = std::make_unique<engine_review_player>();
    if (!start_engine_for_game(&p->client, engine.command, engine.protocol, engine.options, error))
        return nullptr;
    return p;
}
