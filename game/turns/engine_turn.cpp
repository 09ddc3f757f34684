#include "game/turns/engine_turn.h"
#include "display/sdlfuncs.h"
#include "game/game_end.h"
#include "game/options/game_options.h"
#include "game/running_game.h"
#include "game/view/panel_text.h"
#include "game/view/view.h"
#include "rules/notation/notation.h"
#include "rules/position_rules.h"

#include <cstdio>

namespace {

constexpr int hung_status = 1;

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
engine_position position_for(const game_record &record) {
    engine_position p;
    if (const std::string *fen = pgn_tag_value(record.pgn, "FEN")) p.start_fen = *fen;
    for (const recorded_move &m : record.moves) p.moves.push_back(coordinate_text(m.move));
    return p;
}

engine_limits limits_for(const game_options &options, const game_timing &timing) {
    engine_limits limits;
    if (!timing.clocks) {
        limits.movetime_ms = static_cast<int>(options.movetime_ms);
        return limits;
    }
    const chess_clock &c = timing.clock;
    const int64_t now = steady_now_ms();
    limits.clocks = true;
    limits.wtime_ms = static_cast<long>(time_left(c, 0, now));
    limits.btime_ms = static_cast<long>(time_left(c, 1, now));
    limits.winc_ms = static_cast<long>(c.control[0].increment_ms);
    limits.binc_ms = static_cast<long>(c.control[1].increment_ms);
    // On a clock the engine may think as long as its time lasts: then its flag falls.
    limits.deadline_ms = static_cast<long>(ms_until_flag(c, now)) + 1;
    return limits;
}

// While the engine thinks the window answers the desktop (a close asks for the move now),
// and the panel shows its depth and score, from White's side, with the clocks ticking.
struct engine_watcher {
    running_game *run;
    uint8_t mover;
};

bool keep_thinking(void *context, const engine_thinking &so_far) {
    if (!pump_window_events()) return false;
    const auto *watcher = static_cast<const engine_watcher *>(context);
    if (!watcher->run->graphics) return true;
    view_player_thinking(&watcher->run->view, so_far.depth,
                         so_far.has_score ? panel_score(so_far.mate, so_far.score, watcher->mover)
                                          : std::string());
    return true;
}

} // namespace

bool start_outside_engines(game_options *options, outside_engines *engines, std::string *error) {
    for (uint8_t side = 0; side <= 1; side++) {
        const std::string command = engine_command(*options, side);
        if (command.empty()) continue;
        auto client = std::make_unique<engine_client>();
        if (!start_engine(client.get(), command, protocol_of(options->engine_protocol),
                          options_of(engine_options_for(*options, side)), error))
            return false;
        for (const std::string &warning : client->warnings)
            std::fprintf(stderr, "vartok: %s\n", warning.c_str());
        if (!new_engine_game(client.get())) {
            *error = client->failure;
            return false;
        }
        options->engine_names[side] = client->name;
        engines->side[side] = std::move(client);
    }
    return true;
}

computer_move do_engine_move(running_game *run, engine_client *engine, game_state *live,
                             const game_record &record, const game_options &options,
                             const game_timing &timing) {
    computer_move result;
    const uint8_t mover = live->game_status.turn;
    engine_watcher watcher{run, mover};
    const engine_answer a = engine_think(engine, position_for(record), limits_for(options, timing),
                                         {&watcher, keep_thinking});
    if (window_closed()) {
        result.ending = interrupted_game(interruption::window_closed);
        return result;
    }
    if (a.fault == engine_fault::hung && timing.clocks) {
        result.ending = flag_fall_ending(live->board, mover, timing.fide);
        return result;
    }
    if (a.fault != engine_fault::none) {
        std::fflush(stdout);
        std::fprintf(stderr, "vartok: %s; the game is kept in its record\n", a.message.c_str());
        game_ending ending;
        ending.status = hung_status;
        result.ending = ending;
        return result;
    }
    if (a.resigned) {
        result.ending = resign_game(*live);
        return result;
    }
    std::printf("%u: Moving %s to %s\n", live->turn_count, square_name(a.move.src).c_str(),
                square_name(a.move.dst).c_str());
    // A weakened engine may play another move than its line's first: that line would
    // contradict the move, so none is shown.
    const std::string played =
        format_san(live->board, live->game_status.turn, a.move.src, a.move.dst, a.move.ascend);
    if (a.thinking.pv_san.empty() || a.thinking.pv_san.front() == played)
        std::puts(describe_thinking(a.thinking).c_str());
    result.decision.outcome = ai_outcome::move;
    result.decision.src = a.move.src;
    result.decision.dst = a.move.dst;
    result.decision.ascend = a.move.ascend;
    if (const uint8_t became = play_half_move(live, a.move.src, a.move.dst, a.move.ascend))
        announce_ascension(became);
    return result;
}

std::string engine_hint_line(engine_client *engine, const game_record &record,
                             const game_options &options) {
    engine_limits limits;
    limits.movetime_ms = static_cast<int>(options.movetime_ms);
    const engine_answer a = engine_think(engine, position_for(record), limits);
    if (a.resigned) return "No hint: the engine resigns.";
    if (a.fault != engine_fault::none) return "No hint: " + a.message;
    return hint_text(a.move.src, a.move.dst, a.move.ascend);
}
