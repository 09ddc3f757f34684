#include "engine/search_driver.h"
#include "ai/classic/classic_player.h"
#include "engine/strong_driver.h"
#include "engine/time_budget.h"
#include "engine/uci_output.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/notation/coordinates.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <string>

namespace {

using engine_clock = std::chrono::steady_clock;

int64_t elapsed_ms(engine_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(engine_clock::now() - start)
        .count();
}

uint64_t nodes_per_second(uint64_t nodes, int64_t ms) {
    return ms > 0 ? nodes * 1000 / static_cast<uint64_t>(ms) : nodes * 1000;
}

// Each report line goes out as an info string.
void report_line(void *, const char *line) {
    send_info_string("%s", line);
}

// A finished pass (the classic player) or iteration (the strong one, with its score and
// line) goes out as an info line.
void report_thinking(void *, const player_thinking &t) {
    if (t.has_score) {
        send_strong_iteration(t);
        return;
    }
    send_line("info depth %u nodes %" PRIu64 " time %" PRId64 " nps %" PRIu64,
              static_cast<unsigned>(t.depth), t.nodes, t.time_ms,
              nodes_per_second(t.nodes, t.time_ms));
}

std::string score_text(const player_thinking &t) {
    if (t.mate_in) return "mate " + std::to_string(t.mate_in);
    return "cp " + std::to_string(t.cp);
}

void send_result(const search_request &request, const player_answer &a,
                 engine_clock::time_point start) {
    const int64_t ms = elapsed_ms(start);
    const uint64_t nodes = a.report.nodes;
    if (a.outcome == player_outcome::no_move) {
        const struct board &board = request.game.board;
        const uint8_t turn = request.game.game_status.turn;
        const bool mated = square_attacked(&board, find_king(&board, turn), turn ? black_bit : 0);
        send_info_string("no legal move");
        send_line("info depth 0 score %s", mated ? "mate 0" : "cp 0");
        send_line("bestmove 0000");
        return;
    }
    const std::string move = coordinate_text(a.move.src, a.move.dst, a.move.ascend);
    if (a.book) {
        send_info_string("book move");
    } else {
        send_line("info depth %u nodes %" PRIu64 " nps %" PRIu64 " time %" PRId64 " score %s pv %s",
                  static_cast<unsigned>(a.report.depth), nodes, nodes_per_second(nodes, ms), ms,
                  score_text(a.report).c_str(), move.c_str());
    }
    send_line("bestmove %s", move.c_str());
}

void wait_for_stop_if_infinite(search_driver *driver, const search_request &request) {
    if (!request.limits.infinite) return;
    // The protocol wants no answer before the GUI's stop.
    std::unique_lock<std::mutex> guard(driver->lock);
    driver->wake.wait(guard, [driver] { return driver->stop_requested; });
}

// The player the engine's options choose: the classic one with the engine's scratch and
// its random numbers drawn anew from Seed at every search, or the strong one with its table.
std::unique_ptr<player> engine_player_for(search_driver *driver, const engine_options &options) {
    if (options.player == engine_player::strong)
        return new_strong_player(&driver->strong, strong_setup_for(options));
    classic_setup setup;
    setup.settings = options.settings;
    setup.overhead_ms = move_overhead_ms;
    setup.reseed = true;
    setup.seed = options.seed;
    return new_classic_player(driver->context.get(), setup);
}

void run_search(search_driver *driver, search_request request) {
    const engine_clock::time_point start = engine_clock::now();
    const engine_options &options = request.options;
    game_moves game{request.start, request.moves, request.game};
    if (!options.own_book) game.now.opening = 0;
    player_observer observer;
    observer.thinking = report_thinking;
    observer.line = report_line;
    observer.stop = &driver->stop;
    const player_answer a = engine_player_for(driver, options)
                                ->decide(game, player_limits_of(request.limits), observer);
    if (a.one_pass)
        send_info_string("out of time: the one-pass move at depth %u",
                         static_cast<unsigned>(options.settings.depth1));
    wait_for_stop_if_infinite(driver, request);
    // Each player answers as it always has: the strong one with bestmove alone.
    if (options.player == engine_player::strong)
        send_strong_result(request, a);
    else
        send_result(request, a, start);
    driver->busy.store(false);
}

} // namespace

void start_search(search_driver *driver, const search_request &request) {
    if (driver->worker.joinable()) driver->worker.join();
    driver->stop.store(false);
    driver->stop_requested = false;
    driver->busy.store(true);
    driver->infinite = request.limits.infinite;
    driver->player = request.options.player;
    driver->endless = request.options.player == engine_player::strong
                          ? !strong_search_ends(strong_settings_for(request))
                          : request.limits.infinite;
    driver->worker = std::thread(run_search, driver, request);
}

void stop_search(search_driver *driver) {
    if (driver->worker.joinable()) {
        {
            std::lock_guard<std::mutex> guard(driver->lock);
            driver->stop_requested = true;
        }
        driver->stop.store(true);
        driver->wake.notify_all();
        driver->worker.join();
    }
}

void finish_search(search_driver *driver) {
    if (driver->endless)
        stop_search(driver);
    else if (driver->worker.joinable())
        driver->worker.join();
}
