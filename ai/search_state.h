// What one rating search carries from ply to ply. Every worker thread has its own.
#pragma once

#include <atomic>
#include <cstdint>

struct search_state {
    uint8_t depth = 0;     // current ply: 1 while a root move is rated, 0 between root calls
    uint8_t max_depth = 0; // number of plies rated
    uint64_t a = 0;        // rated positions
    // Set when the rating in progress is no longer wanted; its result is then meaningless.
    const std::atomic<bool> *cancel = nullptr;
};
