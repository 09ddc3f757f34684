#include "ai/classic/classic_player.h"
#include "ai/classic/rate_move.h"
#include "rules/time/move_budget.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using player_clock = std::chrono::steady_clock;

// Engines show centipawns; the search's own scores count a pawn as 100 but reach far
// beyond any material count in lines that meet a mate or a draw.
constexpr int64_t largest_cp = 32000;
constexpr auto stop_poll = std::chrono::milliseconds(1);

struct decision_watch {
    const player_observer *observer;
    player_clock::time_point start;
    uint64_t nodes_before = 0; // rated by the searches of this decision that have ended
    uint64_t nodes = 0;        // ... and by the passes of the one under way so far
    int depth = 0;             // of the pass under way
};

int64_t elapsed_ms(const decision_watch &w) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(player_clock::now() - w.start)
        .count();
}

void pass_line(void *context, const char *text) {
    const player_observer &o = *static_cast<decision_watch *>(context)->observer;
    if (o.line) o.line(o.context, text);
}

void pass_progress(void *context, const search_progress &p) {
    auto *w = static_cast<decision_watch *>(context);
    w->depth = p.depth;
    const player_observer &o = *w->observer;
    if (o.progress) o.progress(o.context, {p.pass, p.depth, p.rated, p.to_rate});
}

void pass_finished(void *context, const pass_record &pass) {
    auto *w = static_cast<decision_watch *>(context);
    w->nodes += pass.positions_rated;
    const player_observer &o = *w->observer;
    if (!o.thinking) return;
    player_thinking t;
    t.depth = pass.depth;
    t.nodes = w->nodes_before + w->nodes;
    t.time_ms = elapsed_ms(*w);
    o.thinking(o.context, t);
}

// Raises `halt` at the deadline, or at once when the caller's stop is raised; ends when
// the search it watches does.
struct clock_watch {
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    std::atomic<bool> expired{false};
};

void watch_clock(clock_watch *watch, player_clock::time_point deadline,
                 const std::atomic<bool> *outside_stop, std::atomic<bool> *halt) {
    std::unique_lock<std::mutex> guard(watch->lock);
    while (!watch->finished) {
        if (outside_stop && outside_stop->load()) {
            halt->store(true);
            return;
        }
        if (player_clock::now() >= deadline) {
            watch->expired.store(true);
            halt->store(true);
            return;
        }
        watch->done.wait_for(guard, stop_poll);
    }
}

struct classic_player final : player {
    search_context *context;
    classic_setup setup;

    classic_player(search_context *c, const classic_setup &s) : context(c), setup(s) {}

    ai_decision search(const game_state &game, const ai_settings &settings,
                       const search_observer &observer, decision_watch *watch) {
        if (setup.reseed) context->random = seeded_random_numbers(setup.seed);
        const ai_decision d = choose_ai_move(context, game, settings, observer);
        watch->nodes_before += d.positions_rated;
        watch->nodes = 0;
        return d;
    }

    player_answer decide(const game_moves &game, const player_limits &limits,
                         const player_observer &observer) override {
        ai_settings settings = setup.settings;
        if (limits.depth > 0) settings.depth2 = static_cast<uint8_t>(limits.depth);
        decision_watch watch{&observer, player_clock::now(), 0, 0, settings.depth1};
        search_observer report;
        report.context = &watch;
        report.report = pass_line;
        report.progress = pass_progress;
        report.pass_done = pass_finished;
        report.stop = observer.stop;

        const uint8_t side = game.now.game_status.turn;
        const int64_t budget = classic_budget_ms(limits, side, setup.overhead_ms);
        ai_decision d{};
        bool one_pass = false;
        if (budget == no_budget) {
            d = search(game.now, settings, report, &watch);
        } else {
            // The first pass is always searched to its end: it is the move played when the
            // full search runs out of time.
            search_observer quiet = report;
            quiet.report = nullptr;
            quiet.pass_done = nullptr;
            ai_settings first_pass = settings;
            first_pass.depth2 = first_pass.depth1;
            d = search(game.now, first_pass, quiet, &watch);
            const bool stopped = observer.stop && observer.stop->load();
            if (d.outcome == ai_outcome::move && !d.interrupted && !stopped) {
                std::atomic<bool> halt{false};
                clock_watch clock;
                std::thread watcher(watch_clock, &clock,
                                    watch.start + std::chrono::milliseconds(budget), observer.stop,
                                    &halt);
                search_observer full = report;
                full.stop = &halt;
                const ai_decision searched = search(game.now, settings, full, &watch);
                {
                    std::lock_guard<std::mutex> guard(clock.lock);
                    clock.finished = true;
                }
                clock.done.notify_all();
                watcher.join();
                one_pass = searched.interrupted && clock.expired.load();
                if (one_pass)
                    watch.depth = settings.depth1;
                else
                    d = searched;
            }
        }
        return answer_of(d, one_pass, watch);
    }

    static player_answer answer_of(const ai_decision &d, bool one_pass,
                                   const decision_watch &watch) {
        player_answer a;
        a.opening = d.opening;
        if (d.outcome == ai_outcome::no_move) {
            a.outcome = player_outcome::no_move;
            return a;
        }
        a.outcome = player_outcome::move;
        a.move = {d.src, d.dst, d.ascend};
        a.book = d.outcome == ai_outcome::book_move;
        a.one_pass = one_pass;
        // Its last report line names the move ("12: Moving e7 to e5 (score: 35)").
        a.announced = !a.book && !one_pass;
        a.report.depth = watch.depth;
        a.report.nodes = watch.nodes_before;
        a.report.time_ms = elapsed_ms(watch);
        a.report.has_score = !a.book;
        // A mate at the first ply scores exactly the threshold when the mating move earns
        // nothing else: the search's own "above it" test is for its cut-offs, not for
        // reporting.
        if (d.score >= mate_threshold) {
            const unsigned ply = d.checkmate_found == no_checkmate ? 1 : d.checkmate_found;
            a.report.mate_in = static_cast<int>((ply + 1) / 2);
        } else {
            a.report.cp = static_cast<int>(d.score > largest_cp    ? largest_cp
                                           : d.score < -largest_cp ? -largest_cp
                                                                   : d.score);
        }
        a.report.pv = {a.move};
        return a;
    }

    std::string name() const override {
        return "Vartok (depths " + std::to_string(setup.settings.depth1) + "/" +
               std::to_string(setup.settings.depth2) + ")";
    }
};

} // namespace

int64_t classic_budget_ms(const player_limits &limits, uint8_t side, int64_t overhead_ms) {
    if (limits.infinite) return no_budget;
    int64_t budget = no_budget;
    if (limits.movetime_ms > 0)
        budget = limits.movetime_ms > overhead_ms ? limits.movetime_ms - overhead_ms : 0;
    const int s = side ? 1 : 0;
    if (limits.time_left_ms[s] != no_clock) {
        // The clock's share: the soft limit of a budget, as the game and the match tool share it.
        const int64_t share =
            budget_for_move(limits.time_left_ms[s], limits.increment_ms[s], limits.moves_to_go,
                            overhead_ms, classic_clock_figures)
                .soft_ms;
        if (budget == no_budget || share < budget) budget = share;
    }
    return budget;
}

std::unique_ptr<player> new_classic_player(search_context *context, const classic_setup &setup) {
    return std::make_unique<classic_player>(context, setup);
}
