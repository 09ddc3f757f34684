// Rating the root moves of one pass, on every core. A root move's replies are rated apart
// (one piece of work each), so that one heavy root move keeps every core busy; workers, and
// the caller while it waits, take the pieces in the order of the pass, each with its own
// search state. The caller collects the ratings strictly in the pass's order, putting each
// root move together from its replies, so that whatever it does with them (reports, random
// draws, the choice) is the same as in a single-threaded search. In single-threaded mode
// each move is rated when asked for.
#pragma once

#include "ai/classic/rate_move.h"
#include "ai/classic/search_observer.h"
#include "ai/classic/search_state.h"
#include "rules/board.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// Every move a side can have: each square's piece with its most destinations.
constexpr int max_root_moves = board_size * board_size * max_destinations;
constexpr int max_search_threads = 64;
constexpr size_t cache_line_size = 64;

// One thread per processor core, at most max_search_threads.
unsigned default_search_threads();

struct root_result {
    struct move mv;
    int8_t s;           // material balance returned by the rater
    uint64_t a;         // positions rated for this move
    bool mate_reported; // its "Found ... checkmate" line has been printed already
};

// One piece of work: a reply of a split root move, or a whole root move.
struct rating_task {
    int job;
    int reply; // index into the job's split, or whole_job
};
constexpr int whole_job = -1;

struct root_pass {
    // The searched game, its settings and who hears of the progress; set by the caller.
    const game_state *game = nullptr;
    const ai_settings *settings = nullptr;
    const search_observer *observer = nullptr;
    struct move jobs[max_root_moves]; // src and dst of each move to rate, in pass order
    int job_count = 0;
    int number = 0; // 1 for the first pass, 2 for the second
    uint8_t depth = 0;
    root_result results[max_root_moves];
    std::atomic<int> remaining[max_root_moves]; // pieces of work of each job not yet done
    std::vector<reply_split> splits;            // per job; no replies: rated whole
    std::vector<int> first_rating;              // per job, its replies' place in ratings
    std::vector<reply_rating> ratings;
    std::vector<rating_task> tasks;        // in the order of the pass
    std::vector<uint64_t> positions_rated; // by each task, for the scheduling model
    std::vector<int> task_job;
    // Each on a cache line of its own: every rated position reads `cancel`, while the
    // others are written whenever a piece of work is taken or done.
    alignas(cache_line_size) std::atomic<int> next_task{0};
    alignas(cache_line_size) std::atomic<bool> cancel{false};
    alignas(cache_line_size) std::mutex lock;
    std::condition_variable finished;
    // Worker threads live from their first pass on and wait between passes, so that a pass
    // does not pay for starting them.
    std::condition_variable work_posted;
    std::condition_variable work_ended;
    std::thread workers[max_search_threads];
    unsigned pool_size = 0;     // worker threads started so far
    unsigned worker_count = 0;  // of them, those wanted for this pass
    unsigned still_working = 0; // of those, the ones not yet done with this pass
    uint64_t pass_serial = 0;   // counts the passes posted to the workers
    bool closing = false;       // the workers are to end; guarded by lock
    // Read and written by the caller's thread alone: this pass is rated by the workers.
    bool shared_out = false;

    root_pass() = default;
    root_pass(const root_pass &) = delete;
    root_pass &operator=(const root_pass &) = delete;
    ~root_pass(); // ends and joins the worker threads
};

// Starts rating pass->jobs[0..job_count) to `depth`, on settings->threads threads, the
// calling thread among them (1 rates each move on the calling thread when it is asked for).
void start_root_pass(root_pass *pass, uint8_t depth);
// The rating of job `i`, waiting for it if need be. Jobs must be asked for in order. Null
// when the observer's stop flag was set before the rating was ready.
const root_result *await_root_result(root_pass *pass, int i);
// Abandons the jobs not yet collected and waits for the workers to stop working on them.
void finish_root_pass(root_pass *pass);

// Reports "Found ... checkmate at depth ..." when the rating of `mv` met a mate.
void report_checkmate(const search_observer &observer, const struct move &mv);
