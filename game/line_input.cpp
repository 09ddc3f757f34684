#include "game/line_input.h"
#include "game/output_check.h"

#include <cstdio>
#include <cstdlib>

void read_line(char *buff, int size) {
    flush_output();
    if (std::fgets(buff, size, stdin) == nullptr) {
        // A closed input would otherwise repeat the last answer without end.
        std::puts("End of input.");
        std::exit(1);
    }
}
