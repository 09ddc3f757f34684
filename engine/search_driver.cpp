#include "engine/search_driver.h"
#include "ai/classic/ai.h"
#include "ai/classic/rate_move.h"
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

// GUIs show centipawns; the search's own scores count a pawn as 100 but reach far beyond
// any material count in lines that meet a mate or a draw.
constexpr int64_t largest_cp = 32000;

struct search_watch {
    engine_clock::time_point start;
    uint64_t nodes_before = 0; // positions rated by earlier searches of this go
    uint64_t nodes = 0;        // ... and by the passes of this one so far
    uint8_t depth = 0;         // of the pass under way
};

int64_t elapsed_ms(const search_watch &w) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(engine_clock::now() - w.start)
        .count();
}

uint64_t nodes_per_second(uint64_t nodes, int64_t ms) {
    return ms > 0 ? nodes * 1000 / static_cast<uint64_t>(ms) : nodes * 1000;
}

// Each report line goes out as an info string.
void report_line(void *, const char *line) {
    send_info_string("%s", line);
}

// A finished pass also goes out as the pass's figures.
void report_pass(void *context, const pass_record &pass) {
    auto *w = static_cast<search_watch *>(context);
    w->nodes += pass.positions_rated;
    const uint64_t nodes = w->nodes_before + w->nodes;
    const int64_t ms = elapsed_ms(*w);
    send_line("info depth %u nodes %" PRIu64 " time %" PRId64 " nps %" PRIu64,
              static_cast<unsigned>(pass.depth), nodes, ms, nodes_per_second(nodes, ms));
}

void note_progress(void *context, const search_progress &p) {
    static_cast<search_watch *>(context)->depth = p.depth;
}

std::string score_text(const ai_decision &d) {
    // A mate at the first ply scores exactly the threshold when the mating move earns
    // nothing else: the search's own "above it" test is for its cut-offs, not for reporting.
    if (d.score >= mate_threshold) {
        const unsigned ply = d.checkmate_found == no_checkmate ? 1 : d.checkmate_found;
        return "mate " + std::to_string((ply + 1) / 2);
    }
    const int64_t cp = d.score > largest_cp    ? largest_cp
                       : d.score < -largest_cp ? -largest_cp
                                               : d.score;
    return "cp " + std::to_string(cp);
}

// Raises the stop flag when the budget runs out, unless the search ends first.
void watch_clock(search_driver *driver, engine_clock::time_point deadline,
                 std::atomic<bool> *expired) {
    std::unique_lock<std::mutex> guard(driver->lock);
    if (driver->wake.wait_until(guard, deadline, [driver] { return driver->search_done; })) return;
    expired->store(true);
    driver->stop.store(true);
}

ai_decision search(search_context *context, const game_state &game, const ai_settings &settings,
                   unsigned seed, search_watch *watch, const search_observer &observer) {
    context->random = seeded_random_numbers(seed); // every go in the same position chooses alike
    const ai_decision d = choose_ai_move(context, game, settings, observer);
    watch->nodes_before += d.positions_rated;
    watch->nodes = 0;
    return d;
}

// The decision for the request: the game's own search; under a clock, a one-pass search
// at Depth1 first, whose move is played when the clock stops the full search.
ai_decision decide(search_driver *driver, const search_request &request, search_watch *watch) {
    game_state game = request.game;
    if (!request.options.own_book) game.opening = 0;
    ai_settings settings = request.options.settings;
    if (request.limits.depth != no_depth)
        settings.depth2 = static_cast<uint8_t>(request.limits.depth);
    const unsigned seed = request.options.seed;

    search_observer observer;
    observer.context = watch;
    observer.report = report_line;
    observer.pass_done = report_pass;
    observer.progress = note_progress;
    observer.stop = &driver->stop;

    const int64_t budget = move_time_budget(request.limits, game.game_status.turn);
    if (budget == no_limit)
        return search(driver->context.get(), game, settings, seed, watch, observer);

    std::atomic<bool> expired{false};
    std::thread clock(watch_clock, driver, watch->start + std::chrono::milliseconds(budget),
                      &expired);
    search_observer quiet = observer;
    quiet.report = nullptr;
    quiet.pass_done = nullptr;
    ai_settings one_pass = settings;
    one_pass.depth2 = one_pass.depth1;
    ai_decision d = search(driver->context.get(), game, one_pass, seed, watch, quiet);
    if (d.outcome == ai_outcome::move && !d.interrupted) {
        const ai_decision full =
            search(driver->context.get(), game, settings, seed, watch, observer);
        if (!(full.interrupted && expired.load())) {
            d = full;
        } else {
            send_info_string("out of time: the one-pass move at depth %u", settings.depth1);
            watch->depth = settings.depth1;
        }
    }
    {
        std::lock_guard<std::mutex> guard(driver->lock);
        driver->search_done = true;
    }
    driver->wake.notify_all();
    clock.join();
    return d;
}

void send_result(const search_request &request, const ai_decision &d, const search_watch &w) {
    const int64_t ms = elapsed_ms(w);
    const uint64_t nodes = w.nodes_before;
    if (d.outcome == ai_outcome::no_move) {
        const struct board &board = request.game.board;
        const uint8_t turn = request.game.game_status.turn;
        const bool mated = square_attacked(&board, find_king(&board, turn), turn ? black_bit : 0);
        send_info_string("no legal move");
        send_line("info depth 0 score %s", mated ? "mate 0" : "cp 0");
        send_line("bestmove 0000");
        return;
    }
    const std::string move = coordinate_text(d.src, d.dst, d.ascend);
    if (d.outcome == ai_outcome::book_move) {
        send_info_string("book move");
    } else {
        send_line("info depth %u nodes %" PRIu64 " nps %" PRIu64 " time %" PRId64 " score %s pv %s",
                  w.depth, nodes, nodes_per_second(nodes, ms), ms, score_text(d).c_str(),
                  move.c_str());
    }
    send_line("bestmove %s", move.c_str());
}

void wait_for_stop_if_infinite(search_driver *driver, const search_request &request) {
    if (!request.limits.infinite) return;
    // The protocol wants no answer before the GUI's stop.
    std::unique_lock<std::mutex> guard(driver->lock);
    driver->wake.wait(guard, [driver] { return driver->stop_requested; });
}

void run_search(search_driver *driver, search_request request) {
    if (request.options.player == engine_player::strong) {
        const strong_decision d = search_strong(request, &driver->strong, &driver->stop);
        wait_for_stop_if_infinite(driver, request);
        send_strong_result(request, d);
        driver->busy.store(false);
        return;
    }
    search_watch watch;
    watch.start = engine_clock::now();
    watch.depth = request.options.settings.depth1;
    const ai_decision d = decide(driver, request, &watch);
    wait_for_stop_if_infinite(driver, request);
    send_result(request, d, watch);
    driver->busy.store(false);
}

} // namespace

void start_search(search_driver *driver, const search_request &request) {
    if (driver->worker.joinable()) driver->worker.join();
    driver->stop.store(false);
    driver->stop_requested = false;
    driver->search_done = false;
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
