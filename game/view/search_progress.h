// A one-line progress indicator of the search on standard error, shown only when standard
// error is a terminal. It is erased before anything is printed on standard output, which
// therefore stays exactly the report lines.
#pragma once

#include <cstdint>

// Starts the clock of a computer move and decides whether the line is shown at all.
void progress_begin();
// Redraws the line when what it says has changed.
void progress_show(int pass, uint8_t depth, int rated, int to_rate);
// Erases the line if it is shown.
void progress_clear();
