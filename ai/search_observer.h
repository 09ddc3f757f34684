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

struct search_observer {
    void *context = nullptr;
    // One report line, without its newline. Null: the lines are dropped.
    void (*report)(void *context, const char *line) = nullptr;
    // Called after each root move and, while a move takes long, about every 100 ms.
    void (*progress)(void *context, const search_progress &progress) = nullptr;
    // Set by another thread to end the search early: it then answers at once with the best
    // root move rated so far. Null, or never set: the search runs to its end, unchanged.
    const std::atomic<bool> *stop = nullptr;
};
