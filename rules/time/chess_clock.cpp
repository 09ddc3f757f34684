#include "rules/time/chess_clock.h"

#include <chrono>

int64_t steady_now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

chess_clock new_clock(const time_control &white, const time_control &black) {
    return {{white, black}, {white.base_ms, black.base_ms}, clock_stopped, 0};
}

chess_clock clock_from_readings(const time_control &white, const time_control &black,
                                int64_t white_ms, int64_t black_ms) {
    chess_clock clock = new_clock(white, black);
    if (white_ms >= 0) clock.remaining_ms[side_white] = white_ms;
    if (black_ms >= 0) clock.remaining_ms[side_black] = black_ms;
    return clock;
}

void start_clock(chess_clock *clock, uint8_t side, int64_t now) {
    charge_clock(clock, now);
    clock->running = side ? 1 : 0;
    clock->since_ms = now;
}

void charge_clock(chess_clock *clock, int64_t now) {
    if (clock->running == clock_stopped) return;
    int64_t &left = clock->remaining_ms[clock->running];
    // A `now` before the last charge (a caller's stale reading) charges nothing.
    if (now <= clock->since_ms) return;
    const int64_t used = now - clock->since_ms;
    left = used < left ? left - used : 0;
    clock->since_ms = now;
}

bool stop_clock(chess_clock *clock, int64_t now) {
    if (clock->running == clock_stopped) return true;
    const int side = clock->running;
    pause_clock(clock, now);
    if (clock->remaining_ms[side] == 0) return false;
    clock->remaining_ms[side] += clock->control[side].increment_ms;
    return true;
}

void pause_clock(chess_clock *clock, int64_t now) {
    charge_clock(clock, now);
    clock->running = clock_stopped;
}

int64_t time_left(const chess_clock &clock, uint8_t side, int64_t now) {
    chess_clock charged = clock;
    charge_clock(&charged, now);
    return charged.remaining_ms[side ? 1 : 0];
}

bool flag_fallen(const chess_clock &clock, uint8_t side, int64_t now) {
    return time_left(clock, side, now) == 0;
}

int64_t ms_until_flag(const chess_clock &clock, int64_t now) {
    if (clock.running == clock_stopped) return no_deadline;
    return time_left(clock, static_cast<uint8_t>(clock.running), now);
}
