#include "game/turns/engine_turn.h"
#include "client/engine_position.h"
#include "rules/notation/san.h"

#include <cstdio>
#include <cstring>

namespace {

std::vector<engine_option> options_of(const std::vector<std::string> &words) {
    std::vector<engine_option> out;
    for (const std::string &w : words) {
        const size_t equals = w.find('=');
        out.push_back({w.substr(0, equals), w.substr(equals + 1)});
    }
    return out;
}

engine_protocol protocol_of(const std::string &name) {
    if (name == "uci") return engine_protocol::uci;
    if (name == "xboard") return engine_protocol::xboard;
    return engine_protocol::detect;
}

// The game as the engine is told it: where it started and every move since.
engine_position position_for(const game_moves &game) {
    const game_state usual = new_game();
    const bool usual_start =
        std::memcmp(&game.start.board, &usual.board, sizeof usual.board) == 0 &&
        game.start.game_status.turn == usual.game_status.turn;
    engine_position p = usual_start ? engine_position{} : position_of_game(game.start);
    for (const san_move &m : game.moves) p.moves.push_back(coordinate_text(m));
    return p;
}

engine_limits limits_for(const player_limits &given, int64_t move_time_ms, uint8_t mover) {
    engine_limits limits;
    limits.depth = given.depth;
    limits.nodes = static_cast<long long>(given.nodes);
    if (given.time_left_ms[0] == no_clock || given.time_left_ms[1] == no_clock) {
        limits.movetime_ms =
            static_cast<int>(given.movetime_ms > 0 ? given.movetime_ms : move_time_ms);
        return limits;
    }
    limits.clocks = true;
    limits.wtime_ms = static_cast<long>(given.time_left_ms[0]);
    limits.btime_ms = static_cast<long>(given.time_left_ms[1]);
    limits.winc_ms = static_cast<long>(given.increment_ms[0]);
    limits.binc_ms = static_cast<long>(given.increment_ms[1]);
    limits.movestogo = given.moves_to_go;
    // On a clock the engine may think as long as its time lasts: then its flag falls.
    limits.deadline_ms = static_cast<long>(given.time_left_ms[mover ? 1 : 0]) + 1;
    return limits;
}

player_thinking thinking_of(const engine_thinking &t) {
    player_thinking out;
    out.depth = t.depth;
    out.has_score = t.has_score;
    (t.mate ? out.mate_in : out.cp) = t.score;
    out.nodes = static_cast<uint64_t>(t.nodes);
    out.time_ms = t.time_ms;
    return out;
}

// Called about every 100 ms while the engine thinks: the observer hears its thinking and
// ticks; a raised stop asks it for its move now.
bool keep_thinking(void *context, const engine_thinking &so_far) {
    const player_observer &o = *static_cast<const player_observer *>(context);
    if (o.thinking) o.thinking(o.context, thinking_of(so_far));
    if (o.tick) o.tick(o.context);
    return !(o.stop && o.stop->load());
}

struct engine_player final : player {
    engine_client *client;
    int64_t move_time_ms;

    engine_player(engine_client *c, int64_t ms) : client(c), move_time_ms(ms) {}

    player_answer decide(const game_moves &game, const player_limits &limits,
                         const player_observer &observer) override {
        const game_state &now = game.now;
        const engine_answer e = engine_think(
            client, position_for(game), limits_for(limits, move_time_ms, now.game_status.turn),
            {const_cast<player_observer *>(&observer), keep_thinking});
        player_answer a;
        if (e.fault != engine_fault::none) {
            a.failure = e.message;
            a.timed_out = e.fault == engine_fault::hung;
            return a;
        }
        a.outcome = player_outcome::move;
        a.resigned = e.resigned;
        a.move = e.move;
        a.report = thinking_of(e.thinking);
        // Its line as far as its moves are legal, read on a copy of the position.
        game_state walk = now;
        for (const std::string &word : e.thinking.pv) {
            san_move m;
            if (read_engine_move(walk, word, client->protocol == engine_protocol::xboard, &m) !=
                move_reading::legal)
                break;
            a.report.pv.push_back(m);
            play_legal_move(&walk, m);
        }
        if (e.resigned) return a;
        // A weakened engine may play another move than its line's first: that line would
        // contradict the move, so none is shown.
        const std::string played =
            format_san(now.board, now.game_status.turn, e.move.src, e.move.dst, e.move.ascend);
        if (e.thinking.pv_san.empty() || e.thinking.pv_san.front() == played)
            a.summary = describe_thinking(e.thinking);
        return a;
    }

    std::string name() const override { return client->name; }
};

} // namespace

bool start_engine_for_game(engine_client *client, const std::string &command,
                           const std::string &protocol, const std::vector<std::string> &options,
                           std::string *error) {
    if (!start_engine(client, command, protocol_of(protocol), options_of(options), error))
        return false;
    for (const std::string &warning : client->warnings)
        std::fprintf(stderr, "vartok: %s\n", warning.c_str());
    if (!new_engine_game(client)) {
        *error = client->failure;
        return false;
    }
    return true;
}

bool start_outside_engines(game_options *options, outside_engines *engines, std::string *error) {
    for (uint8_t side = 0; side <= 1; side++) {
        const std::string command = engine_command(*options, side);
        if (command.empty()) continue;
        auto client = std::make_unique<engine_client>();
        if (!start_engine_for_game(client.get(), command, options->engine_protocol,
                                   engine_options_for(*options, side), error))
            return false;
        options->engine_names[side] = client->name;
        engines->side[side] = std::move(client);
    }
    return true;
}

std::unique_ptr<player> new_engine_player(engine_client *client, int64_t move_time_ms) {
    return std::make_unique<engine_player>(client, move_time_ms);
}
