#include "game/turns/computer_turn.h"
#include "display/sdlfuncs.h"
#include "game/game_end.h"
#include "game/options/game_options.h"
#include "game/running_game.h"
#include "game/view/panel_text.h"
#include "game/view/search_progress.h"
#include "game/view/view.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/notation/notation.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char *ascends[] = {"rook", "knight", "bishop", "queen"};

void print_report_line(running_game *run, const char *line) {
    // A closed window ends the game where it stands: nothing of the search is told.
    if (window_closed()) return;
    progress_clear(&run->progress);
    std::puts(line);
}

void report_line(void *context, const char *line) {
    print_report_line(static_cast<game_watch *>(context)->run, line);
}

void show_search_progress(void *context, const search_progress &p) {
    auto *watch = static_cast<game_watch *>(context);
    if (!pump_window_events()) {
        if (watch->stop) watch->stop->store(true);
        return;
    }
    progress_show(&watch->run->progress, p.pass, p.depth, p.rated, p.to_rate);
    view_search_progress(&watch->run->view, p); // the side panel's "Thinking..."
}

// The move-count rule kept the turn-start test from seeing that the side to move has no
// move: the game ends as that test would have ended it.
game_ending end_without_move(running_game *run, const game_state &live) {
    progress_clear(&run->progress);
    const uint8_t turn = live.game_status.turn;
    const coord king_pos = find_king(&live.board, turn);
    const bool mated = square_attacked(&live.board, king_pos, turn ? black_bit : 0);
    if (mated) return finished_game(mate_outcome(turn), checkmate_message(turn), false);
    return finished_game({"1/2-1/2", "Stalemate"}, "Stalemate.", false);
}

// Report lines held back while the search may still be cut short by the clock.
struct held_lines {
    std::vector<std::string> lines;
    game_watch *watch; // a close of the window stops the search, as in any search
};

void hold_line(void *context, const char *line) {
    static_cast<held_lines *>(context)->lines.emplace_back(line);
}

void held_progress(void *context, const search_progress &p) {
    show_search_progress(static_cast<held_lines *>(context)->watch, p);
}

// The observer of a search on the clock: the window is kept alive and may stop it as
// always, its lines are held back, and a watch raises the stop at the budget's end.
struct clock_watch {
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    std::atomic<bool> expired{false};
};

void watch_budget(clock_watch *watch, std::atomic<bool> *stop, int64_t limit_ms) {
    std::unique_lock<std::mutex> guard(watch->lock);
    if (watch->done.wait_for(guard, std::chrono::milliseconds(limit_ms),
                             [watch] { return watch->finished; }))
        return;
    watch->expired.store(true);
    stop->store(true);
}

// The engine's rule for a search on the clock: one pass at depth1, quietly, then the full
// search until the budget's soft limit; when that cuts it short, the one-pass move is played.
ai_decision search_on_clock(running_game *run, search_context *search, const game_state &live,
                            const ai_settings &settings, const move_budget &budget,
                            std::atomic<bool> *stop) {
    game_watch game{run, stop};
    search_observer quiet = game_search_observer(&game);
    quiet.report = nullptr;
    ai_settings one_pass = settings;
    one_pass.depth2 = one_pass.depth1;
    const auto started = std::chrono::steady_clock::now();
    const ai_decision first = choose_ai_move(search, live, one_pass, quiet);
    if (first.outcome != ai_outcome::move || first.interrupted || window_closed()) return first;
    const int64_t spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - started)
                              .count();
    clock_watch watch;
    held_lines held{{}, &game};
    search_observer full = game_search_observer(&game);
    full.context = &held;
    full.report = hold_line;
    full.progress = held_progress;
    std::thread watcher(watch_budget, &watch, stop,
                        budget.soft_ms > spent ? budget.soft_ms - spent : 0);
    ai_decision d = choose_ai_move(search, live, settings, full);
    {
        std::lock_guard<std::mutex> guard(watch.lock);
        watch.finished = true;
    }
    watch.done.notify_all();
    watcher.join();
    const bool out_of_time = d.interrupted && watch.expired.load() && !window_closed();
    if (out_of_time) {
        // Its choice was cut short: its last line ("Moving ...") gives way to the first pass's.
        if (!held.lines.empty()) held.lines.pop_back();
        d = first;
    }
    for (const std::string &line : held.lines) print_report_line(run, line.c_str());
    if (out_of_time)
        std::printf("%u: Moving %s to %s (one pass: out of time)\n", live.turn_count,
                    square_name(d.src).c_str(), square_name(d.dst).c_str());
    return d;
}

} // namespace

void announce_ascension(uint8_t became) {
    std::printf("Ascended to %s\n", ascends[became - type_rook]);
}

std::string hint_text(coord src, coord dst, uint8_t ascend) {
    std::string text = "Hint: " + square_name(src) + "-" + square_name(dst);
    if (ascend) text += std::string("=") + san_piece_letters[ascend];
    return text;
}

search_observer game_search_observer(game_watch *watch) {
    search_observer observer;
    observer.context = watch;
    observer.report = report_line;
    observer.progress = show_search_progress;
    observer.stop = watch->stop;
    return observer;
}

namespace {

// Taken off the strong player's time for printing and playing the move.
constexpr int64_t strong_overhead_ms = 10;

struct strong_watch {
    running_game *run;
    std::atomic<bool> *stop;
    uint8_t mover;
    int depth = 0;
    std::string score; // of the last iteration, from White's side
};

// While it searches the window answers the desktop (a close stops the search), and the
// panel shows its depth and score with the clocks ticking.
void strong_tick(void *context) {
    auto *watch = static_cast<strong_watch *>(context);
    if (!watch->run->graphics) return;
    if (!pump_window_events()) {
        watch->stop->store(true);
        return;
    }
    view_player_thinking(&watch->run->view, watch->depth, watch->score);
}

void strong_iteration_done(void *context, const strong_iteration &iteration) {
    auto *watch = static_cast<strong_watch *>(context);
    watch->depth = iteration.depth;
    const strong_score &s = iteration.score;
    watch->score = panel_score(s.mate_in != 0, s.mate_in != 0 ? s.mate_in : s.cp, watch->mover);
    strong_tick(context);
}

} // namespace

strong_settings strong_settings_for(const game_options &options, const chess_clock *clock,
                                    uint8_t side, uint32_t turn_count) {
    strong_settings s;
    s.time = limits_for_move_time(options.movetime_ms, strong_overhead_ms);
    if (clock)
        s.time = budget_for_move(time_left(*clock, side, steady_now_ms()),
                                 clock->control[side].increment_ms, 0, strong_overhead_ms,
                                 strong_clock_figures);
    s.rules = options.fide ? draw_rules::fide : draw_rules::game;
    // Below full strength its choices are drawn from a seed: SEED= makes each move's seed,
    // and so the game, repeat; without it each move draws anew.
    s.elo = options.elo;
    if (options.elo)
        s.seed = options.seeded ? options.seed * 1000003u + turn_count
                                : static_cast<uint64_t>(
                                      std::chrono::steady_clock::now().time_since_epoch().count());
    return s;
}

computer_move do_strong_move(running_game *run, strong_memory *memory, game_state *live,
                             const strong_settings &settings) {
    std::atomic<bool> stop{false};
    strong_watch watch{run, &stop, live->game_status.turn, 0, {}};
    strong_observer observer;
    observer.context = &watch;
    observer.iteration_done = strong_iteration_done;
    observer.tick = strong_tick;
    observer.stop = &stop;
    const strong_decision d = choose_strong_move(*live, settings, observer, memory);
    computer_move result;
    if (window_closed()) {
        result.ending = interrupted_game(interruption::window_closed);
        return result;
    }
    if (d.outcome == strong_outcome::no_move) {
        result.ending = end_without_move(run, *live);
        return result;
    }
    const uint8_t ascend =
        reaches_last_row(live->board.tiles[d.move.src.row][d.move.src.col], d.move.dst)
            ? (d.move.ascend ? d.move.ascend : type_queen)
            : 0;
    std::printf("%u: Moving %s to %s\n", live->turn_count, square_name(d.move.src).c_str(),
                square_name(d.move.dst).c_str());
    std::puts(strong_report(*live, d.result).c_str());
    result.decision.outcome = ai_outcome::move;
    result.decision.src = d.move.src;
    result.decision.dst = d.move.dst;
    result.decision.ascend = ascend;
    if (const uint8_t became = play_half_move(live, d.move.src, d.move.dst, ascend))
        announce_ascension(became);
    return result;
}

computer_move do_ai_move(running_game *run, search_context *search, game_state *live,
                         const ai_settings &settings, bool announce_book,
                         const move_budget *budget) {
    progress_begin(&run->progress);
    // Only a window or a clock can stop the search; without them it never stops.
    std::atomic<bool> stop{false};
    game_watch game{run, run->graphics ? &stop : nullptr};
    computer_move result;
    const ai_decision decision =
        budget ? search_on_clock(run, search, *live, settings, *budget, &stop)
               : choose_ai_move(search, *live, settings, game_search_observer(&game));
    if (window_closed()) {
        progress_clear(&run->progress);
        result.ending = interrupted_game(interruption::window_closed);
        return result;
    }
    result.decision = decision;
    live->opening = decision.opening;
    if (decision.outcome == ai_outcome::no_move) {
        result.ending = end_without_move(run, *live);
        return result;
    }
    if (decision.outcome == ai_outcome::book_move && announce_book)
        std::printf("%u: Moving %s to %s (opening book)\n", live->turn_count,
                    square_name(decision.src).c_str(), square_name(decision.dst).c_str());
    if (const uint8_t became = play_half_move(live, decision.src, decision.dst, decision.ascend)) {
        progress_clear(&run->progress);
        announce_ascension(became);
    }
    return result;
}
