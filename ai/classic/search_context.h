// Everything one computer player needs between and during its searches: its random
// numbers, the root pass with its worker threads, and the per-square cache. Each owner (a
// game, a hint, an engine) keeps a context of its own, so searches never share state.
#pragma once

#include "ai/classic/move_cache.h"
#include "ai/classic/root_rating.h"
#include "rules/random_numbers.h"

#include <memory>

// Where each job of a pass came from in the cache: square and destination index.
struct job_origin {
    uint8_t row, col, k;
};

struct search_context {
    random_numbers random; // the tie-breaks and blunders draw from it
    root_pass pass;
    job_origin origins[max_root_moves];
    move_cache moves;
};

// A context on the heap (it is large), its random numbers seeded with `seed`.
std::unique_ptr<search_context> new_search_context(unsigned seed);
