#include "game/output_check.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int lost_output_status = 1;

// `cause` is an errno value, or 0 when it is not known.
[[noreturn]] void report_lost_output(int cause) {
    if (cause != 0)
        std::fprintf(stderr, "vartok: could not write to standard output: %s\n",
                     std::strerror(cause));
    else
        std::fputs("vartok: could not write to standard output\n", stderr);
    // Exiting normally would flush standard output once more and fail again.
    _exit(lost_output_status);
}

// Flushes standard output; false with the cause in errno (0 when unknown) on failure.
bool flushed() {
    errno = 0;
    return std::fflush(stdout) == 0;
}

void check_output_at_exit() {
    if (!flushed()) report_lost_output(errno);
    check_output();
}

} // namespace

void watch_output() {
    std::atexit(check_output_at_exit);
}

void check_output() {
    if (!std::ferror(stdout)) return;
    // The write failed inside some earlier print, and errno has moved on since. What was
    // printed after it waits in the buffer: writing that once more names the cause.
    std::clearerr(stdout);
    report_lost_output(flushed() ? 0 : errno);
}

void flush_output() {
    if (!flushed()) report_lost_output(errno);
    check_output();
}
