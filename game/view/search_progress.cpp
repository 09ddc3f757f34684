#include "game/view/search_progress.h"

#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {

using steady = std::chrono::steady_clock;

constexpr const char *erase_line = "\r\033[K";

constexpr int tenths_per_second = 10;

bool enabled = false;
bool shown = false;
steady::time_point started;
int last_pass, last_depth, last_rated, last_tenths;

} // namespace

void progress_begin() {
    enabled = isatty(STDERR_FILENO) != 0;
    shown = false;
    started = steady::now();
}

void progress_show(int pass, uint8_t depth, int rated, int to_rate) {
    if (!enabled) return;
    const double seconds = std::chrono::duration<double>(steady::now() - started).count();
    const int tenths = static_cast<int>(seconds * tenths_per_second);
    if (shown && pass == last_pass && depth == last_depth && rated == last_rated &&
        tenths == last_tenths)
        return;
    last_pass = pass, last_depth = depth, last_rated = rated, last_tenths = tenths;
    // Whatever standard output holds must reach the terminal before the line is drawn.
    std::fflush(stdout);
    std::fprintf(stderr, "%sThinking: pass %d (depth %u), %d of %d moves rated, %.1f s", erase_line,
                 pass, static_cast<unsigned>(depth), rated, to_rate,
                 tenths / static_cast<double>(tenths_per_second));
    shown = true;
}

void progress_clear() {
    if (!shown) return;
    std::fputs(erase_line, stderr);
    shown = false;
}
