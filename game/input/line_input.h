// Reading the person's lines from standard input, and the deadline of a game on clocks.
#pragma once

#include "game/input/timed_line_input.h"
#include "game/interruption.h"
#include "rules/time/chess_clock.h"

#include <cstdint>

// How the person's lines are read: once clocks are on, through the run's one reader of
// standard input, with the person's deadline.
struct person_input {
    timed_line_input reader;
    bool timed = false;
    int64_t deadline = no_deadline;
};

// Flushes standard output, then reads one line (at most size-1 bytes) into buff. At the end
// of input or on a read error prints "End of input." and answers end_of_input, for the game
// to end with status 1; when standard output cannot be written, answers lost_output; when the
// input deadline passes first, answers time_up (what was typed so far is kept).
interruption read_line(person_input *input, char *buff, int size);

// A game on clocks reads every line through a reader of its own from the start, so that a
// wait can end at the flag's fall without losing typed bytes. Call once, before any read.
void read_lines_with_deadlines(person_input *input);

// The steady-clock moment (steady_now_ms) at which the person's time runs out; no_deadline
// (the default) for none. Every wait for the person ends there.
void set_input_deadline(person_input *input, int64_t deadline_ms);
// Milliseconds left until the deadline (0 when passed), or -1 when there is none.
int64_t ms_to_input_deadline(const person_input &input);
