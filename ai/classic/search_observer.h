// How the computer player tells its caller what it is doing, without knowing where that
// goes: the report lines (the terminal in the game, `info string` in an engine) and the
// progress of the search (a status line, a window kept alive); and how the caller may end
// a search early.
#pragma once

#include <atomic>
#include <cstdint>

struct search_progress {
    int pass;      // 1 for the first pass, 2 for the second
    uint8_t depth; // of this pass
    int rated;     // root moves rated so far in this pass
    int to_rate;   // root moves this pass rates
};

// One finished pass of the search: what its report line "depth N: Analyzed ..." says, and
// the move it prefers so far.
struct pass_record {
    int pass;                 // 1 for the first pass, 2 for the second
    uint8_t depth;            // of this pass
    uint64_t positions_rated; // by this pass
    uint8_t best_src_row, best_src_col, best_dst_row, best_dst_col;
    int64_t best_score;
};

struct search_observer {
    void *context = nullptr;
    // One report line, without its newline. Null: the lines are dropped.
    void (*report)(void *context, const char *line) = nullptr;
    // Called after each root move and, while a move takes long, about every 100 ms.
    void (*progress)(void *context, const search_progress &progress) = nullptr;
    // Called after each pass that ran to its end, just after its report line.
    void (*pass_done)(void *context, const pass_record &record) = nullptr;
    // Called after each pass shared out over threads with how many positions each piece of
    // work rated (in a pass ended early by a mate or a blunder, only what was rated before
    // it ended) and to which root move it belongs, in the pass's order: what a scheduling
    // model replays.
    void (*task_sizes)(void *context, const uint64_t *positions, const int *root_move,
                       int count) = nullptr;
    // Set by another thread to end the search early: it then answers at once with the best
    // root move rated so far. Null, or never set: the search runs to its end, unchanged.
    const std::atomic<bool> *stop = nullptr;
};
