#include "review_players.h"

#include "ai/strong/strong_player.h"
#include "client/engine_client.h"

#include <utility>

namespace {

// The strong player at full strength on one thread, keeping its table between positions.
struct strong_review_player final : player {
    strong_memory memory;

    player_answer decide(const game_moves &game, const player_limits &limits,
                         const player_observer &observer) override {
        strong_settings settings;
        settings.rules = draw_rules::fide; // a record is judged by the usual rules
        settings.time = {};
        if (limits.depth > 0) {
            settings.depth_limit = limits.depth;
            // A depth-limited search repeats exactly only from a clear table.
            clear_table(&memory.table);
        }
        if (limits.nodes > 0) settings.node_limit = limits.nodes;
        if (limits.movetime_ms > 0) {
            settings.time = limits_for_move_time(limits.movetime_ms, 0);
            settings.time.soft_ms = settings.time.hard_ms; // the whole budget is for this position
        }
        strong_observer watch;
        watch.stop = observer.stop;
        const strong_decision d = choose_strong_move(game.now, settings, watch, &memory);
        player_answer answer;
        if (d.outcome == strong_outcome::no_move) {
            answer.outcome = player_outcome::no_move;
            return answer;
        }
        answer.outcome = player_outcome::move;
        answer.move = {d.move.src, d.move.dst, d.move.ascend};
        player_thinking &r = answer.report;
        r.depth = d.result.depth;
        r.seldepth = d.result.seldepth;
        r.has_score = true;
        r.cp = d.result.score.cp;
        r.mate_in = d.result.score.mate_in;
        r.nodes = d.result.nodes;
        r.time_ms = d.result.time_ms;
        for (int i = 0; i < d.result.pv.length; i++) {
            const strong_move &m = d.result.pv.moves[i];
            r.pv.push_back({m.src, m.dst, m.ascend});
        }
        return answer;
    }

    std::string name() const override { return "Vartok strong"; }
};

constexpr const char usual_start_fen[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// An outside engine spoken to through the game's engine client.
struct engine_review_player final : player {
    engine_client client;

    player_answer decide(const game_moves &game, const player_limits &limits,
                         const player_observer &) override {
        engine_position position;
        const uint32_t fullmoves = std::max<uint32_t>(1, (game.start.turn_count + 1) / 2);
        position.start_fen = format_fen(position_of(game.start, fullmoves));
        if (position.start_fen == usual_start_fen) position.start_fen.clear();
        for (const san_move &m : game.moves) position.moves.push_back(coordinate_text(m));
        engine_limits bounds;
        bounds.movetime_ms = static_cast<int>(limits.movetime_ms);
        bounds.depth = limits.depth;
        bounds.nodes = static_cast<long long>(limits.nodes);
        const engine_answer a = engine_think(&client, position, bounds);
        player_answer answer;
        if (a.fault == engine_fault::no_move) {
            answer.outcome = player_outcome::no_move;
            return answer;
        }
        if (a.fault != engine_fault::none || a.resigned) {
            answer.failure = a.fault != engine_fault::none ? a.message : client.name + " resigned";
            return answer;
        }
        answer.outcome = player_outcome::move;
        answer.move = a.move;
        player_thinking &r = answer.report;
        r.depth = a.thinking.depth;
        r.has_score = a.thinking.has_score;
        if (a.thinking.mate)
            r.mate_in = a.thinking.score;
        else
            r.cp = a.thinking.score;
        r.nodes = static_cast<uint64_t>(a.thinking.nodes);
        r.time_ms = a.thinking.time_ms;
        // The line as far as its moves are legal, read on a copy of the position.
        game_state walk = game.now;
        for (const std::string &word : a.thinking.pv) {
            san_move m;
            if (read_engine_move(walk, word, client.protocol == engine_protocol::xboard, &m) !=
                move_reading::legal)
                break;
            r.pv.push_back(m);
            play_legal_move(&walk, m);
        }
        return answer;
    }

    std::string name() const override { return client.name; }
};

engine_protocol protocol_of(const std::string &word) {
    if (word == "uci") return engine_protocol::uci;
    if (word == "xboard") return engine_protocol::xboard;
    return engine_protocol::detect;
}

} // namespace

std::unique_ptr<player> make_review_player(const review_engine &engine, std::string *error) {
    if (engine.command.empty()) return std::make_unique<strong_review_player>();
    auto p = std::make_unique<engine_review_player>();
    std::vector<engine_option> options;
    for (const std::string &option : engine.options) {
        const size_t equals = option.find('=');
        options.push_back({option.substr(0, equals), option.substr(equals + 1)});
    }
    if (!start_engine(&p->client, engine.command, protocol_of(engine.protocol), options, error))
        return nullptr;
    if (!new_engine_game(&p->client)) {
        *error = p->client.failure;
        return nullptr;
    }
    return p;
}
