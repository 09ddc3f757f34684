#include "game/line_input.h"
#include "game/output_check.h"

#include <cstdio>

interruption read_line(char *buff, int size) {
    if (!flush_output()) return interruption::lost_output;
    if (std::fgets(buff, size, stdin) == nullptr) {
        // A closed input would otherwise repeat the last answer without end.
        std::puts("End of input.");
        return interruption::end_of_input;
    }
    return interruption::none;
}
