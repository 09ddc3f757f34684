#include "engine/strong_driver.h"
#include "engine/time_budget.h"
#include "engine/uci_output.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/notation/coordinates.h"

#include <cinttypes>
#include <string>

namespace {

std::string score_text(const player_thinking &t) {
    if (t.mate_in) return "mate " + std::to_string(t.mate_in);
    return "cp " + std::to_string(t.cp);
}

std::string pv_text(const std::vector<san_move> &line) {
    std::string out;
    for (const san_move &m : line) {
        if (!out.empty()) out += ' ';
        out += coordinate_text(m.src, m.dst, m.ascend);
    }
    return out;
}

} // namespace

strong_setup strong_setup_for(const engine_options &options) {
    strong_setup setup;
    setup.overhead_ms = options.move_overhead_ms;
    setup.hash_mb = options.hash_mb;
    setup.threads = options.settings.threads;
    // A GUI judges the game by the usual rules, not the game's own.
    setup.rules = draw_rules::fide;
    if (options.limit_strength) setup.elo = options.elo;
    setup.seed = options.seed;
    return setup;
}

strong_settings strong_settings_for(const search_request &request) {
    return strong_settings_for(strong_setup_for(request.options), player_limits_of(request.limits),
                               request.game);
}

void send_strong_iteration(const player_thinking &it) {
    const uint64_t nps = it.time_ms > 0 ? it.nodes * 1000 / uint64_t(it.time_ms) : it.nodes * 1000;
    send_line("info depth %d seldepth %d score %s nodes %" PRIu64 " nps %" PRIu64 " time %" PRId64
              " pv %s",
              it.depth, it.seldepth, score_text(it).c_str(), it.nodes, nps, it.time_ms,
              pv_text(it.pv).c_str());
}

void send_strong_result(const search_request &request, const player_answer &a) {
    if (a.outcome == player_outcome::no_move) {
        const struct board &board = request.game.board;
        const uint8_t turn = request.game.game_status.turn;
        const bool mated = square_attacked(&board, find_king(&board, turn), turn ? black_bit : 0);
        send_line("info depth 0 score %s", mated ? "mate 0" : "cp 0");
        send_line("bestmove 0000");
        return;
    }
    send_line("bestmove %s", coordinate_text(a.move.src, a.move.dst, a.move.ascend).c_str());
}
