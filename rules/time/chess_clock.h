// The two clocks of a game. Time is passed in: every function takes `now`, milliseconds of a
// steady clock, and steady_now_ms() is the one place that reads the real one.
#pragma once

#include "rules/board.h"
#include "rules/time/time_control.h"

#include <cstdint>

constexpr int8_t clock_stopped = -1; // chess_clock::running when neither side's time runs
constexpr int64_t no_deadline = -1;  // ms_until_flag when no time runs: wait without limit
constexpr int64_t no_reading = -1;   // a side without a %clk reading in the record yet

struct chess_clock {
    time_control control[2]; // White's, Black's
    int64_t remaining_ms[2]; // as last charged; never below 0
    int8_t running;          // the side whose time runs (0 White, 1 Black), or clock_stopped
    int64_t since_ms;        // when the running side's time was last charged
};

// Milliseconds of the system's steady clock (it never jumps with the wall clock).
int64_t steady_now_ms();

// Both clocks full, neither running.
chess_clock new_clock(const time_control &white, const time_control &black);

// The clocks as a record left them: each side's last %clk reading, or its full time where it
// has none (no_reading, or a reading below 0); neither running. A resumed game then starts
// the clock of the side to move: quitting paused the game.
chess_clock clock_from_readings(const time_control &white, const time_control &black,
                                int64_t white_ms, int64_t black_ms);

// `side`'s time runs from `now`. A clock that was running for the other side is charged first.
void start_clock(chess_clock *clock, uint8_t side, int64_t now);

// Takes the time used since the last charge off the running side; its time goes on running.
void charge_clock(chess_clock *clock, int64_t now);

// The running side has completed its move: its time is charged and stopped and, when its flag
// has not fallen, the increment is added. Returns false when the flag had fallen (then
// nothing is added). With no clock running it does nothing and returns true.
bool stop_clock(chess_clock *clock, int64_t now);

// Charges and stops the running side without an increment: the game is left or paused.
void pause_clock(chess_clock *clock, int64_t now);

// `side`'s time left at `now`, not below 0.
int64_t time_left(const chess_clock &clock, uint8_t side, int64_t now);

// Whether `side` has no time left at `now`: the flag falls when the time reaches 0.
bool flag_fallen(const chess_clock &clock, uint8_t side, int64_t now);

// Milliseconds from `now` until the running side's flag falls (0 when it has fallen), or
// no_deadline when no time runs: the longest an input may wait.
int64_t ms_until_flag(const chess_clock &clock, int64_t now);
