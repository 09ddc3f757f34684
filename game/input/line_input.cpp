#include "game/input/line_input.h"
#include "game/input/timed_line_input.h"
#include "game/view/output_check.h"
#include "rules/time/chess_clock.h"

#include <cstdio>

namespace {

interruption end_of_input() {
    // A closed input would otherwise repeat the last answer without end.
    std::puts("End of input.");
    return interruption::end_of_input;
}

} // namespace

void read_lines_with_deadlines(person_input *input) {
    input->timed = true;
}

void set_input_deadline(person_input *input, int64_t deadline_ms) {
    input->deadline = deadline_ms;
}

int64_t ms_to_input_deadline(const person_input &input) {
    if (input.deadline == no_deadline) return -1;
    const int64_t left = input.deadline - steady_now_ms();
    return left > 0 ? left : 0;
}

interruption read_line(person_input *input, char *buff, int size) {
    if (!flush_output()) return interruption::lost_output;
    if (input->timed) {
        switch (read_line_before(&input->reader, buff, size, input->deadline)) {
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
