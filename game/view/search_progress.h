// A one-line progress indicator of the search on standard error, shown only when standard
// error is a terminal. It is erased before anything is printed on standard output, which
// therefore stays exactly the report lines.
#pragma once

#include <chrono>
#include <cstdint>

// The line's state over one computer move.
struct progress_line {
    bool enabled = false; // standard error is a terminal
    bool shown = false;
    std::chrono::steady_clock::time_point started{};
    int last_pass = 0, last_depth = 0, last_rated = 0, last_tenths = 0;
};

// Starts the clock of a computer move and decides whether the line is shown at all.
void progress_begin(progress_line *line);
// Redraws the line when what it says has changed.
void progress_show(progress_line *line, int pass, uint8_t depth, int rated, int to_rate);
// Erases the line if it is shown.
void progress_clear(progress_line *line);
