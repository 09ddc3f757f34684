#include "ai/progress.h"

#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {

using steady = std::chrono::steady_clock;

constexpr const char *erase_line = "\r\033[K";

bool enabled = false;
bool shown = false;
steady::time_point started;

} // namespace

void progress_begin() {
    enabled = isatty(STDERR_FILENO) != 0;
    shown = false;
    started = steady::now();
}

void progress_show(uint8_t depth, int rated, int to_rate) {
    if (!enabled) return;
    const double seconds = std::chrono::duration<double>(steady::now() - started).count();
    // Whatever standard output holds must reach the terminal before the line is drawn.
    std::fflush(stdout);
    std::fprintf(stderr, "%sThinking: depth %u, %d of %d moves rated, %.1f s", erase_line,
                 static_cast<unsigned>(depth), rated, to_rate, seconds);
    shown = true;
}

void progress_clear() {
    if (!shown) return;
    std::fputs(erase_line, stderr);
    shown = false;
}
