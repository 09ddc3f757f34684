#include "ai/root_rating.h"
#include "ai/progress.h"
#include "ai/rate_move.h"
#include "display/sdlfuncs.h"
#include "rules/live_game.h"

#include <chrono>
#include <cstdio>

unsigned search_threads = default_search_threads();

namespace {

// How often the waiting thread keeps the window and the progress line alive.
constexpr auto keep_alive_interval = std::chrono::milliseconds(100);

int8_t rate_root_move(struct move *mv, uint8_t depth, search_state *st) {
    st->max_depth = depth;
    st->depth = 0;
    return rate_move(mv, &board, game_status.turn, st);
}

void rate_job(root_pass *pass, int i, search_state *st) {
    root_result &r = pass->results[i];
    const uint64_t before = st->a;
    r.mv = pass->jobs[i];
    r.s = rate_root_move(&r.mv, pass->depth, st);
    r.a = st->a - before;
    r.mate_reported = false;
}

void worker(root_pass *pass) {
    search_state st;
    st.cancel = &pass->cancel;
    for (;;) {
        if (pass->cancel.load(std::memory_order_relaxed)) return;
        const int i = pass->next_job.fetch_add(1);
        if (i >= pass->job_count) return;
        rate_job(pass, i, &st);
        {
            std::lock_guard<std::mutex> guard(pass->lock);
            pass->done[i].store(true, std::memory_order_release);
        }
        pass->finished.notify_one();
    }
}

} // namespace

unsigned default_search_threads() {
    const unsigned cores = std::thread::hardware_concurrency();
    if (cores == 0) return 1;
    return cores < max_search_threads ? cores : max_search_threads;
}

void report_checkmate(const struct move &mv) {
    if (mv.checkmate_found == no_checkmate) return;
    progress_clear();
    std::printf("Found %s checkmate at depth %u\n", (mv.checkmate_found & 1) ? "my" : "opponent's",
                static_cast<unsigned>(mv.checkmate_found));
}

int8_t rate_move_to_depth(struct move *mv, uint8_t depth, search_state *st) {
    const int8_t s = rate_root_move(mv, depth, st);
    report_checkmate(*mv);
    return s;
}

void start_root_pass(root_pass *pass, uint8_t depth) {
    pass->depth = depth;
    pass->next_job.store(0);
    pass->cancel.store(false);
    for (int i = 0; i < pass->job_count; i++) pass->done[i].store(false);
    pass->worker_count = 0;
    if (search_threads <= 1) return;
    const unsigned wanted = search_threads < static_cast<unsigned>(pass->job_count)
                                ? search_threads
                                : static_cast<unsigned>(pass->job_count);
    for (unsigned t = 0; t < wanted && t < max_search_threads; t++)
        pass->workers[pass->worker_count++] = std::thread(worker, pass);
}

const root_result &await_root_result(root_pass *pass, int i) {
    root_result &r = pass->results[i];
    if (pass->worker_count == 0) {
        search_state st;
        r.mv = pass->jobs[i];
        r.s = rate_move_to_depth(&r.mv, pass->depth, &st);
        r.a = st.a;
        r.mate_reported = true;
        pump_window_events();
        progress_show(pass->number, pass->depth, i + 1, pass->job_count);
        return r;
    }
    std::unique_lock<std::mutex> guard(pass->lock);
    while (!pass->done[i].load(std::memory_order_acquire)) {
        pass->finished.wait_for(guard, keep_alive_interval);
        pump_window_events();
        progress_show(pass->number, pass->depth, i, pass->job_count);
    }
    guard.unlock();
    pump_window_events();
    progress_show(pass->number, pass->depth, i + 1, pass->job_count);
    return r;
}

void finish_root_pass(root_pass *pass) {
    pass->cancel.store(true);
    for (unsigned t = 0; t < pass->worker_count; t++) pass->workers[t].join();
    pass->worker_count = 0;
}
