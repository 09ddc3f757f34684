#include "client/engine_limits.h"

namespace {

constexpr long grace_ms = 5000;
constexpr long unlimited_wait_ms = 10L * 60 * 1000;

} // namespace

long answer_wait_ms(const engine_limits &limits, bool white) {
    if (limits.deadline_ms > 0) return limits.deadline_ms;
    if (limits.clocks) return (white ? limits.wtime_ms : limits.btime_ms) + grace_ms;
    if (limits.movetime_ms > 0) return limits.movetime_ms + grace_ms;
    return unlimited_wait_ms;
}
