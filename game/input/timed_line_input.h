// Reading the person's lines with a deadline: the clock's flag may fall while the person is
// typing, so the wait for a line ends at the deadline without losing what was typed.
#pragma once

#include <cstdint>
#include <string>

enum class line_wait : uint8_t {
    line,         // a line (or the first size-1 bytes of a longer one) is in the buffer
    timeout,      // the deadline came first; what was typed so far is kept for the next call
    end_of_input, // the input is closed (or cannot be read) and nothing of it is left
};

// Reads a descriptor through its own buffer: stdio's buffer would hide typed bytes from
// poll, so a game that reads with a deadline reads all its lines here, not with fgets.
struct timed_line_input {
    int fd = 0;          // standard input
    std::string pending; // read but not handed out yet
    bool ended = false;  // the end of input or a read error was met
};

// Flushes standard output (the prompt shows before the wait), then waits until a line is
// there or the steady clock (steady_now_ms) reaches `deadline_ms` (no_deadline: no limit).
// A line is handed out as fgets does: at most size-1 bytes with the newline when it fits,
// the rest of a longer line at the next call, and a last line without newline at the end of
// input. A line already there is handed out even after the deadline. `size` is at least 2.
line_wait read_line_before(timed_line_input *input, char *buff, int size, int64_t deadline_ms);
