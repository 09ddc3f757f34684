// Lines read from an engine with a deadline, in bounded memory whatever it sends: a line
// longer than the cap is cut there and the rest of it dropped.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>

using engine_clock = std::chrono::steady_clock;

// Longer than any line worth reading (a long principal variation is a few hundred bytes).
constexpr size_t max_line_bytes = 4096;

struct line_reader {
    int fd = -1;
    // The process whose end is the end of the output, though a child it left behind may
    // hold the pipe open; -1: only the pipe's end counts.
    pid_t writer = -1;
    size_t bytes_read = 0; // all that was read, lines, cut parts and all
    std::string pending;   // read but not yet returned; never much more than a line
    bool cutting = false;  // dropping the rest of a line that was cut
    bool closed = false;   // the end of the output was read
};

enum class read_result { line, timeout, closed };

// The next line, without its end (\n or \r\n). `timeout` once `deadline` has passed, even
// while lines keep coming; `closed` when the output has ended and every line was returned.
read_result read_line(line_reader *reader, std::string *line, engine_clock::time_point deadline);
