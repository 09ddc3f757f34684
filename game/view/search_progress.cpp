#include "game/view/search_progress.h"

#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {

using steady = std::chrono::steady_clock;

constexpr const char *erase_line = "\r\033[K";

constexpr int tenths_per_second = 10;

} // namespace

void progress_begin(progress_line *line) {
    line->enabled = isatty(STDERR_FILENO) != 0;
    line->shown = false;
    line->started = steady::now();
}

void progress_show(progress_line *line, int pass, uint8_t depth, int rated, int to_rate) {
    if (!line->enabled) return;
    const double seconds = std::chrono::duration<double>(steady::now() - line->started).count();
    const int tenths = static_cast<int>(seconds * tenths_per_second);
    if (line->shown && pass == line->last_pass && depth == line->last_depth &&
        rated == line->last_rated && tenths == line->last_tenths)
        return;
    line->last_pass = pass, line->last_depth = depth, line->last_rated = rated,
    line->last_tenths = tenths;
    // Whatever standard output holds must reach the terminal before the line is drawn.
    std::fflush(stdout);
    std::fprintf(stderr, "%sThinking: pass %d (depth %u), %d of %d moves rated, %.1f s", erase_line,
                 pass, static_cast<unsigned>(depth), rated, to_rate,
                 tenths / static_cast<double>(tenths_per_second));
    line->shown = true;
}

void progress_clear(progress_line *line) {
    if (!line->shown) return;
    std::fputs(erase_line, stderr);
    line->shown = false;
}
