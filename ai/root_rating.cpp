#include "ai/root_rating.h"
#include "ai/rate_move.h"

#include <chrono>
#include <cstdio>

namespace {

// How often the waiting thread lets the observer keep the window and the progress alive.
constexpr auto keep_alive_interval = std::chrono::milliseconds(100);
// How often it looks at the stop flag, when the caller may set one.
constexpr auto stop_poll_interval = std::chrono::milliseconds(5);
constexpr int report_line_size = 64;

int8_t rate_root_move(const root_pass *pass, struct move *mv, search_state *st) {
    st->max_depth = pass->depth;
    st->depth = 0;
    return rate_move(mv, &pass->game->board, pass->game->game_status.turn, st);
}

void rate_job(root_pass *pass, int i, search_state *st) {
    root_result &r = pass->results[i];
    const uint64_t before = st->a;
    r.mv = pass->jobs[i];
    r.s = rate_root_move(pass, &r.mv, st);
    r.a = st->a - before;
    r.mate_reported = false;
}

void worker(root_pass *pass) {
    search_state st = search_state_for(*pass->game, *pass->settings);
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

void show_progress(const root_pass *pass, int rated) {
    const search_observer &o = *pass->observer;
    if (o.progress) o.progress(o.context, {pass->number, pass->depth, rated, pass->job_count});
}

bool stop_requested(const root_pass *pass) {
    const std::atomic<bool> *stop = pass->observer->stop;
    return stop && stop->load(std::memory_order_relaxed);
}

unsigned thread_count(const ai_settings &settings) {
    if (settings.threads == 0) return default_search_threads();
    return settings.threads < max_search_threads ? settings.threads : max_search_threads;
}

} // namespace

unsigned default_search_threads() {
    const unsigned cores = std::thread::hardware_concurrency();
    if (cores == 0) return 1;
    return cores < max_search_threads ? cores : max_search_threads;
}

void report_checkmate(const search_observer &observer, const struct move &mv) {
    if (mv.checkmate_found == no_checkmate || !observer.report) return;
    char line[report_line_size];
    std::snprintf(line, sizeof line, "Found %s checkmate at depth %u",
                  (mv.checkmate_found & 1) ? "my" : "opponent's",
                  static_cast<unsigned>(mv.checkmate_found));
    observer.report(observer.context, line);
}

void start_root_pass(root_pass *pass, uint8_t depth) {
    pass->depth = depth;
    pass->next_job.store(0);
    pass->cancel.store(false);
    for (int i = 0; i < pass->job_count; i++) pass->done[i].store(false);
    pass->worker_count = 0;
    const unsigned threads = thread_count(*pass->settings);
    if (threads <= 1) return;
    const unsigned wanted =
        threads < static_cast<unsigned>(pass->job_count) ? threads : unsigned(pass->job_count);
    for (unsigned t = 0; t < wanted; t++)
        pass->workers[pass->worker_count++] = std::thread(worker, pass);
}

const root_result *await_root_result(root_pass *pass, int i) {
    root_result &r = pass->results[i];
    if (stop_requested(pass)) return nullptr;
    if (pass->worker_count == 0) {
        search_state st = search_state_for(*pass->game, *pass->settings);
        st.cancel = pass->observer->stop; // a rating cut short is not used
        r.mv = pass->jobs[i];
        r.s = rate_root_move(pass, &r.mv, &st);
        if (stop_requested(pass)) return nullptr;
        report_checkmate(*pass->observer, r.mv);
        r.a = st.a;
        r.mate_reported = true;
        show_progress(pass, i + 1);
        return &r;
    }
    const auto interval = pass->observer->stop ? stop_poll_interval : keep_alive_interval;
    std::unique_lock<std::mutex> guard(pass->lock);
    while (!pass->done[i].load(std::memory_order_acquire)) {
        if (stop_requested(pass)) return nullptr;
        pass->finished.wait_for(guard, interval);
        show_progress(pass, i);
    }
    guard.unlock();
    show_progress(pass, i + 1);
    return &r;
}

void finish_root_pass(root_pass *pass) {
    pass->cancel.store(true);
    for (unsigned t = 0; t < pass->worker_count; t++) pass->workers[t].join();
    pass->worker_count = 0;
}
