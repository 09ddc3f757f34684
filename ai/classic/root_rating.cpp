#include "ai/classic/root_rating.h"

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
    struct move mv = pass->jobs[i]; // on the stack: other threads write r's neighbours
    r.s = rate_root_move(pass, &mv, st);
    r.mv = mv;
    r.a = st->a - before;
    r.mate_reported = false;
}

void run_task(root_pass *pass, const rating_task &task, search_state *st) {
    if (task.reply == whole_job) {
        rate_job(pass, task.job, st);
        return;
    }
    st->max_depth = pass->depth;
    rate_split_reply(pass->splits[task.job], task.reply, st,
                     &pass->ratings[pass->first_rating[task.job] + task.reply]);
}

// Takes the next piece of work of the posted pass and rates it; false when none is left or
// the pass is abandoned.
bool rate_next_task(root_pass *pass, search_state *st) {
    if (pass->cancel.load(std::memory_order_relaxed)) return false;
    const int i = pass->next_task.fetch_add(1);
    if (i >= static_cast<int>(pass->tasks.size())) return false;
    const rating_task task = pass->tasks[i];
    const uint64_t before = st->a;
    run_task(pass, task, st);
    pass->positions_rated[i] = st->a - before;
    bool job_done;
    {
        std::lock_guard<std::mutex> guard(pass->lock);
        job_done = pass->remaining[task.job].fetch_sub(1, std::memory_order_acq_rel) == 1;
    }
    if (job_done) pass->finished.notify_one();
    return true;
}

// Rates pieces of work of the posted pass until none is left or the pass is abandoned.
void work_on_pass(root_pass *pass) {
    search_state st = search_state_for(*pass->game, *pass->settings);
    st.cancel = &pass->cancel;
    while (rate_next_task(pass, &st)) {
    }
}

// A worker thread: waits for a pass in which it is wanted, works on it, says so, waits again.
void worker(root_pass *pass, unsigned index, uint64_t seen) {
    for (;;) {
        {
            std::unique_lock<std::mutex> guard(pass->lock);
            pass->work_posted.wait(guard,
                                   [&] { return pass->closing || pass->pass_serial != seen; });
            if (pass->closing) return;
            seen = pass->pass_serial;
            if (index >= pass->worker_count) continue;
        }
        work_on_pass(pass);
        std::lock_guard<std::mutex> guard(pass->lock);
        if (--pass->still_working == 0) pass->work_ended.notify_all();
    }
}

// Lists the pieces of work of the pass: the replies of each root move that has any.
void split_jobs(root_pass *pass) {
    const game_state &game = *pass->game;
    search_state st = search_state_for(game, *pass->settings);
    st.max_depth = pass->depth;
    pass->splits.resize(static_cast<size_t>(pass->job_count));
    pass->first_rating.resize(static_cast<size_t>(pass->job_count));
    pass->tasks.clear();
    int ratings = 0;
    for (int i = 0; i < pass->job_count; i++) {
        reply_split &split = pass->splits[i];
        pass->first_rating[i] = ratings;
        if (!split_replies(pass->jobs[i], &game.board, game.game_status.turn, st, &split)) {
            split.replies.clear();
            pass->tasks.push_back({i, whole_job});
            pass->remaining[i].store(1);
            continue;
        }
        const int n = static_cast<int>(split.replies.size());
        for (int k = 0; k < n; k++) pass->tasks.push_back({i, k});
        pass->remaining[i].store(n);
        ratings += n;
    }
    pass->ratings.resize(static_cast<size_t>(ratings));
    pass->positions_rated.assign(pass->tasks.size(), 0);
    pass->task_job.resize(pass->tasks.size());
    for (size_t t = 0; t < pass->tasks.size(); t++) pass->task_job[t] = pass->tasks[t].job;
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

root_pass::~root_pass() {
    {
        std::lock_guard<std::mutex> guard(lock);
        closing = true;
    }
    work_posted.notify_all();
    for (unsigned i = 0; i < pool_size; i++) workers[i].join();
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
    pass->next_task.store(0);
    pass->cancel.store(false);
    pass->shared_out = false;
    const unsigned threads = thread_count(*pass->settings);
    if (threads <= 1) return;
    split_jobs(pass);
    const auto task_count = static_cast<unsigned>(pass->tasks.size());
    if (task_count == 0) return;
    // The calling thread rates pieces too while it waits for results: one thread fewer to
    // share the cores, and none to wake when a pass starts.
    const unsigned wanted = (threads < task_count ? threads : task_count) - 1;
    {
        std::lock_guard<std::mutex> guard(pass->lock);
        while (pass->pool_size < wanted) {
            pass->workers[pass->pool_size] =
                std::thread(worker, pass, pass->pool_size, pass->pass_serial);
            pass->pool_size++;
        }
        pass->worker_count = wanted;
        pass->still_working = wanted;
        pass->pass_serial++;
    }
    pass->shared_out = true;
    pass->work_posted.notify_all();
}

const root_result *await_root_result(root_pass *pass, int i) {
    root_result &r = pass->results[i];
    if (stop_requested(pass)) return nullptr;
    if (!pass->shared_out) {
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
    search_state st = search_state_for(*pass->game, *pass->settings);
    st.cancel = pass->observer->stop; // a piece cut short by a stop is not used
    auto last_shown = std::chrono::steady_clock::now();
    while (pass->remaining[i].load(std::memory_order_acquire) != 0) {
        if (stop_requested(pass)) return nullptr;
        if (rate_next_task(pass, &st)) {
            const auto now = std::chrono::steady_clock::now();
            if (now - last_shown >= keep_alive_interval) {
                last_shown = now;
                show_progress(pass, i);
            }
            continue;
        }
        // Every piece is taken: wait for the workers to finish theirs.
        std::unique_lock<std::mutex> guard(pass->lock);
        if (pass->remaining[i].load(std::memory_order_acquire) != 0)
            pass->finished.wait_for(guard, interval);
        guard.unlock();
        show_progress(pass, i);
    }
    const reply_split &split = pass->splits[i];
    if (!split.replies.empty()) {
        search_state st = search_state_for(*pass->game, *pass->settings);
        st.max_depth = pass->depth;
        r.mv = pass->jobs[i];
        r.s = rate_move_from_replies(&r.mv, &pass->game->board, pass->game->game_status.turn, &st,
                                     split, &pass->ratings[pass->first_rating[i]]);
        r.a = st.a;
        r.mate_reported = false;
    }
    show_progress(pass, i + 1);
    return &r;
}

void finish_root_pass(root_pass *pass) {
    pass->cancel.store(true);
    if (!pass->shared_out) return;
    {
        std::unique_lock<std::mutex> guard(pass->lock);
        pass->work_ended.wait(guard, [&] { return pass->still_working == 0; });
    }
    const search_observer &o = *pass->observer;
    if (o.task_sizes)
        o.task_sizes(o.context, pass->positions_rated.data(), pass->task_job.data(),
                     static_cast<int>(pass->positions_rated.size()));
    pass->shared_out = false;
}
