// The transposition table of the strong player: what earlier searches found about a
// position, shared by all search threads. Entries are two 64-bit words written without
// locks; a torn entry fails its key check and is ignored.
#pragma once

#include "rules/fast/fast_position.h"

#include <atomic>
#include <cstdint>
#include <memory>

enum class tt_bound : uint8_t { none = 0, upper = 1, lower = 2, exact = 3 };

struct tt_hit {
    fast::move16 move;
    int score; // as stored: mate scores relative to the stored node
    int eval;
    int depth;
    tt_bound bound;
};

struct tt_slot {
    std::atomic<uint64_t> check; // key ^ data
    std::atomic<uint64_t> data;
};

// Gives a table's pages back.
struct table_pages_release {
    uint64_t count = 0; // slots
    void operator()(tt_slot *slots) const;
};

struct transposition_table {
    std::unique_ptr<tt_slot[], table_pages_release> slots;
    uint64_t buckets = 0; // two slots each
    uint8_t age = 0;      // advanced by each new search, so old entries give way
    int megabytes = 0;    // the size it was made for
};

constexpr int default_hash_mb = 64;
constexpr int max_hash_mb = 65536;

// Sizes (and clears) the table. False when the memory cannot be had: the table is left as it
// was, and the caller says so.
bool resize_table(transposition_table *tt, int megabytes);
void clear_table(transposition_table *tt);

bool probe_table(const transposition_table &tt, uint64_t key, tt_hit *hit);
void store_in_table(transposition_table &tt, uint64_t key, fast::move16 move, int score, int eval,
                    int depth, tt_bound bound);

// Asks the processor to fetch the entry of `key` while the search does other work.
void prefetch_table(const transposition_table &tt, uint64_t key);

// Per mille of the first thousand slots holding an entry of this search.
int table_fill_permille(const transposition_table &tt);
