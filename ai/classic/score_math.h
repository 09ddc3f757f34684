// Score sums that wrap around as the machine's registers do instead of overflowing: extreme
// settings and the smallest-score sentinel of a side without replies can pass the 64-bit
// range, and the result must still be the same on every run.
#pragma once

#include <cstdint>

inline int64_t wrap_add(int64_t x, int64_t y) {
    return static_cast<int64_t>(static_cast<uint64_t>(x) + static_cast<uint64_t>(y));
}

inline int64_t wrap_sub(int64_t x, int64_t y) {
    return static_cast<int64_t>(static_cast<uint64_t>(x) - static_cast<uint64_t>(y));
}
