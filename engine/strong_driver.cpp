#include "engine/strong_driver.h"
#include "engine/move_text.h"
#include "engine/uci_output.h"
#include "rules/attack.h"
#include "rules/board_queries.h"

#include <cinttypes>
#include <string>

namespace {

std::string score_text(const strong_score &s) {
    if (s.mate_in) return "mate " + std::to_string(s.mate_in);
    return "cp " + std::to_string(s.cp);
}

std::string pv_text(const strong_line &line) {
    std::string out;
    for (int i = 0; i < line.length; i++) {
        const strong_move &m = line.moves[i];
        if (i) out += ' ';
        out += move_text(m.src, m.dst, m.ascend);
    }
    return out;
}

void send_iteration(void *, const strong_iteration &it) {
    const uint64_t nps = it.time_ms > 0 ? it.nodes * 1000 / uint64_t(it.time_ms) : it.nodes * 1000;
    send_line("info depth %d seldepth %d score %s nodes %" PRIu64 " nps %" PRIu64 " time %" PRId64
              " pv %s",
              it.depth, it.seldepth, score_text(it.score).c_str(), it.nodes, nps, it.time_ms,
              pv_text(it.pv).c_str());
}

} // namespace

strong_settings strong_settings_for(const search_request &request) {
    const go_limits &limits = request.limits;
    const engine_options &options = request.options;
    const uint8_t side = request.game.game_status.turn;
    strong_settings settings;
    settings.hash_mb = options.hash_mb;
    settings.threads = options.settings.threads;
    // A GUI judges the game by the usual rules, not the game's own.
    settings.rules = draw_rules::fide;
    if (options.limit_strength) settings.elo = options.elo;
    settings.seed = options.seed;
    settings.time = {};
    if (limits.depth != no_depth) settings.depth_limit = limits.depth;
    if (limits.nodes > 0) settings.node_limit = static_cast<uint64_t>(limits.nodes);
    settings.history = request.strong_history;
    for (const uci_move &m : limits.searchmoves)
        settings.root_moves.push_back({m.src, m.dst, m.ascend});
    if (limits.infinite) return settings;
    if (limits.movetime != no_limit)
        settings.time = limits_for_move_time(limits.movetime, options.move_overhead_ms);
    if (limits.time[side] != no_limit) {
        const move_budget clock =
            budget_for_move(limits.time[side], limits.increment[side], limits.movestogo,
                            options.move_overhead_ms, strong_clock_figures);
        if (settings.time.hard_ms == no_time_limit || clock.hard_ms < settings.time.hard_ms)
            settings.time = clock;
    }
    return settings;
}

bool strong_search_ends(const strong_settings &settings) {
    const bool weakened = settings.elo > 0 && settings.elo < full_strength_elo; // depth-limited
    return settings.time.hard_ms != no_time_limit || settings.depth_limit > 0 ||
           settings.node_limit > 0 || weakened;
}

// The table was sized when Hash was set (strong_table.h): a search never waits for memory.
strong_decision search_strong(const search_request &request, strong_memory *memory,
                              const std::atomic<bool> *stop) {
    const strong_settings settings = strong_settings_for(request);
    strong_observer observer;
    observer.iteration_done = send_iteration;
    observer.stop = stop;
    return choose_strong_move(request.game, settings, observer, memory);
}

void send_strong_result(const search_request &request, const strong_decision &d) {
    if (d.outcome == strong_outcome::no_move) {
        const struct board &board = request.game.board;
        const uint8_t turn = request.game.game_status.turn;
        const bool mated = square_attacked(&board, find_king(&board, turn), turn ? black_bit : 0);
        send_line("info depth 0 score %s", mated ? "mate 0" : "cp 0");
        send_line("bestmove 0000");
        return;
    }
    send_line("bestmove %s", move_text(d.move.src, d.move.dst, d.move.ascend).c_str());
}
