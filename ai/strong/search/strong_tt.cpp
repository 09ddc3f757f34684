#include "ai/strong/search/strong_tt.h"

#include <algorithm>
#include <memory>
#include <sys/mman.h>

namespace {

constexpr uint64_t bytes_per_mb = 1024 * 1024;
__extension__ using wide = unsigned __int128;

uint64_t pack(fast::move16 move, int score, int eval, int depth, tt_bound bound, uint8_t age) {
    return uint64_t{move} | (uint64_t{static_cast<uint16_t>(static_cast<int16_t>(score))} << 16) |
           (uint64_t{static_cast<uint16_t>(static_cast<int16_t>(eval))} << 32) |
           (uint64_t{static_cast<uint8_t>(std::clamp(depth, 0, 255))} << 48) |
           (uint64_t{static_cast<uint8_t>(bound)} << 56) | (uint64_t{age & 0x3Fu} << 58);
}

int depth_of(uint64_t data) {
    return static_cast<int>((data >> 48) & 0xFF);
}
uint8_t age_of(uint64_t data) {
    return static_cast<uint8_t>(data >> 58);
}

tt_slot *bucket_of(const transposition_table &tt, uint64_t key) {
    const uint64_t index = static_cast<uint64_t>((static_cast<wide>(key) * tt.buckets) >> 64);
    return &tt.slots[index * 2];
}

// Pages of their own, asked for as huge pages where the system has them: a table of gigabytes
// then takes a fraction of the time to touch, and the search misses the TLB less. Every page
// is touched (value-initialised) here rather than in the first search. Null when the memory
// cannot be had.
tt_slot *map_slots(uint64_t count) {
    const size_t bytes = count * sizeof(tt_slot);
    void *pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(pages, bytes, MADV_HUGEPAGE); // a hint: without it the table still works
#endif
    tt_slot *slots = static_cast<tt_slot *>(pages);
    std::uninitialized_value_construct_n(slots, count);
    return slots;
}

} // namespace

void table_pages_release::operator()(tt_slot *slots) const {
    std::destroy_n(slots, count);
    munmap(slots, count * sizeof(tt_slot));
}

bool resize_table(transposition_table *tt, int megabytes) {
    megabytes = std::clamp(megabytes, 1, max_hash_mb);
    const uint64_t buckets = uint64_t(megabytes) * bytes_per_mb / (2 * sizeof(tt_slot));
    if (buckets == tt->buckets) {
        tt->megabytes = megabytes;
        clear_table(tt);
        return true;
    }
    // Made beside the old one, which stays when this fails.
    tt_slot *slots = map_slots(buckets * 2);
    if (!slots) return false;
    tt->slots = std::unique_ptr<tt_slot[], table_pages_release>(slots, {buckets * 2});
    tt->buckets = buckets;
    tt->megabytes = megabytes;
    tt->age = 0;
    return true;
}

void clear_table(transposition_table *tt) {
    for (uint64_t i = 0; i < tt->buckets * 2; i++) {
        tt->slots[i].check.store(0, std::memory_order_relaxed);
        tt->slots[i].data.store(0, std::memory_order_relaxed);
    }
    tt->age = 0;
}

bool probe_table(const transposition_table &tt, uint64_t key, tt_hit *hit) {
    if (!tt.buckets) return false;
    const tt_slot *bucket = bucket_of(tt, key);
    for (int i = 0; i < 2; i++) {
        const uint64_t data = bucket[i].data.load(std::memory_order_relaxed);
        const uint64_t check = bucket[i].check.load(std::memory_order_relaxed);
        if ((check ^ data) != key || !data) continue;
        hit->move = static_cast<fast::move16>(data & 0xFFFF);
        hit->score = static_cast<int16_t>((data >> 16) & 0xFFFF);
        hit->eval = static_cast<int16_t>((data >> 32) & 0xFFFF);
        hit->depth = depth_of(data);
        hit->bound = static_cast<tt_bound>((data >> 56) & 3);
        return true;
    }
    return false;
}

void store_in_table(transposition_table &tt, uint64_t key, fast::move16 move, int score, int eval,
                    int depth, tt_bound bound) {
    if (!tt.buckets) return;
    tt_slot *bucket = bucket_of(tt, key);
    // The slot of this position, else the one of least worth: old, then shallow.
    int chosen = 0, worst = 1 << 30;
    for (int i = 0; i < 2; i++) {
        const uint64_t data = bucket[i].data.load(std::memory_order_relaxed);
        const uint64_t check = bucket[i].check.load(std::memory_order_relaxed);
        if ((check ^ data) == key) {
            chosen = i;
            // Keep the move of a deeper entry when this search found none.
            if (!move) move = static_cast<fast::move16>(data & 0xFFFF);
            if (bound != tt_bound::exact && depth + 3 < depth_of(data) &&
                age_of(data) == (tt.age & 0x3F))
                return;
            worst = -1;
            break;
        }
        const int worth = depth_of(data) - (age_of(data) == (tt.age & 0x3F) ? 0 : 256);
        if (worth < worst) {
            worst = worth;
            chosen = i;
        }
    }
    const uint64_t data = pack(move, score, eval, depth, bound, tt.age);
    bucket[chosen].data.store(data, std::memory_order_relaxed);
    bucket[chosen].check.store(key ^ data, std::memory_order_relaxed);
}

void prefetch_table(const transposition_table &tt, uint64_t key) {
    if (tt.buckets) __builtin_prefetch(bucket_of(tt, key));
}

int table_fill_permille(const transposition_table &tt) {
    int used = 0;
    const uint64_t n = std::min<uint64_t>(1000, tt.buckets * 2);
    for (uint64_t i = 0; i < n; i++) {
        const uint64_t data = tt.slots[i].data.load(std::memory_order_relaxed);
        if (data && age_of(data) == (tt.age & 0x3F)) used++;
    }
    return n ? static_cast<int>(used * 1000 / n) : 0;
}
