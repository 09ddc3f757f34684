#include "game/view/output_check.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdio_ext.h>

namespace {

constexpr int lost_output_status = 1;

// `cause` is an errno value, or 0 when it is not known.
void report_lost_output(int cause) {
    if (cause != 0)
        std::fprintf(stderr, "vartok: could not write to standard output: %s\n",
                     std::strerror(cause));
    else
        std::fputs("vartok: could not write to standard output\n", stderr);
    // What waits in the buffer can never be written: dropped, so that the end of the
    // process does not try (and fail) once more.
    __fpurge(stdout);
    std::clearerr(stdout);
}

// Flushes standard output; false with the cause in errno (0 when unknown) on failure.
bool flushed() {
    errno = 0;
    return std::fflush(stdout) == 0;
}

} // namespace

bool check_output() {
    if (!std::ferror(stdout)) return true;
    // The write failed inside some earlier print, and errno has moved on since. What was
    // printed after it waits in the buffer: writing that once more names the cause.
    std::clearerr(stdout);
    report_lost_output(flushed() ? 0 : errno);
    return false;
}

bool flush_output() {
    if (!flushed()) {
        report_lost_output(errno);
        return false;
    }
    return check_output();
}

int output_exit_status(int status) {
    return flush_output() ? status : lost_output_status;
}
