// Rating the root moves of one pass, on every core. Workers take the moves in the order of
// the pass, each with its own search state; the caller collects the ratings strictly in that
// order, so that whatever it does with them (reports, random draws, the choice) is the same
// as in a single-threaded search. In single-threaded mode each move is rated when asked for.
#pragma once

#include "ai/search_observer.h"
#include "ai/search_state.h"
#include "rules/structs.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// Every move a side can have: each square's piece with its most destinations.
constexpr int max_root_moves = board_size * board_size * max_destinations;
constexpr int max_search_threads = 64;

// One thread per processor core, at most max_search_threads.
unsigned default_search_threads();

struct root_result {
    struct move mv;
    int8_t s;           // material balance returned by the rater
    uint64_t a;         // positions rated for this move
    bool mate_reported; // its "Found ... checkmate" line has been printed already
};

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
    std::atomic<bool> done[max_root_moves];
    std::atomic<int> next_job{0};
    std::atomic<bool> cancel{false};
    std::mutex lock;
    std::condition_variable finished;
    std::thread workers[max_search_threads];
    unsigned worker_count = 0;
};

// Starts rating pass->jobs[0..job_count) to `depth`, on settings->threads threads (1 rates
// each move on the calling thread when it is asked for).
void start_root_pass(root_pass *pass, uint8_t depth);
// The rating of job `i`, waiting for it if need be. Jobs must be asked for in order. Null
// when the observer's stop flag was set before the rating was ready.
const root_result *await_root_result(root_pass *pass, int i);
// Abandons the jobs not yet collected and waits for the workers to end.
void finish_root_pass(root_pass *pass);

// Reports "Found ... checkmate at depth ..." when the rating of `mv` met a mate.
void report_checkmate(const search_observer &observer, const struct move &mv);
