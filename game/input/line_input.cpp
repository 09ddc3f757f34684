#include "game/input/line_input.h"
#include "game/input/timed_line_input.h"
#include "game/view/output_check.h"
#include "rules/time/chess_clock.h"

#include <cstdio>

namespace {

// The run's one reader of standard input once clocks are on, and the person's deadline.
timed_line_input timed_reader;
bool timed = false;
int64_t deadline = no_deadline;

interruption end_of_input() {
    // A closed input would otherwise repeat the last answer without end.
    std::puts("End of input.");
    return interruption::end_of_input;
}

} // namespace

void read_lines_with_deadlines() {
    timed = true;
}

void set_input_deadline(int64_t deadline_ms) {
    deadline = deadline_ms;
}

int64_t ms_to_input_deadline() {
    if (deadline == no_deadline) return -1;
    const int64_t left = deadline - steady_now_ms();
    return left > 0 ? left : 0;
}

interruption read_line(char *buff, int size) {
    if (!flush_output()) return interruption::lost_output;
    if (timed) {
        switch (read_line_before(&timed_reader, buff, size, deadline)) {
        case line_wait::line:
            return interruption::none;
        case line_wait::timeout:
            return interruption::time_up;
        case line_wait::end_of_input:
            return end_of_input();
        }
    }
    if (std::fgets(buff, size, stdin) == nullptr) return end_of_input();
    return interruption::none;
}
