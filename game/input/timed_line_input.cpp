#include "game/input/timed_line_input.h"
#include "game/view/output_check.h"
#include "rules/time/chess_clock.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr size_t read_chunk = 256;

// The bytes of the next line that can be handed out now, or 0 when it must wait.
size_t ready_bytes(const timed_line_input &input, size_t capacity) {
    const size_t newline = input.pending.find('\n');
    if (newline != std::string::npos && newline < capacity) return newline + 1;
    if (input.pending.size() >= capacity) return capacity;
    return input.ended ? input.pending.size() : 0;
}

// Waits at most timeout_ms (-1: without limit) for input and takes what is there.
void take_input(timed_line_input *input, int timeout_ms) {
    pollfd readable{input->fd, POLLIN, 0};
    const int ready = poll(&readable, 1, timeout_ms);
    if (ready < 0 && errno != EINTR) input->ended = true;
    if (ready <= 0) return;
    char chunk[read_chunk];
    const ssize_t n = read(input->fd, chunk, sizeof chunk);
    if (n > 0)
        input->pending.append(chunk, static_cast<size_t>(n));
    else if (n == 0 || (errno != EINTR && errno != EAGAIN))
        input->ended = true;
}

} // namespace

line_wait read_line_before(timed_line_input *input, char *buff, int size, int64_t deadline_ms) {
    flush_output();
    if (size < 2) return line_wait::end_of_input; // no room for a byte: nothing can be read
    const size_t capacity = static_cast<size_t>(size) - 1;
    for (;;) {
        const size_t bytes = ready_bytes(*input, capacity);
        if (bytes > 0) {
            std::memcpy(buff, input->pending.data(), bytes);
            buff[bytes] = '\0';
            input->pending.erase(0, bytes);
            return line_wait::line;
        }
        if (input->ended) return line_wait::end_of_input;
        int timeout_ms = -1;
        if (deadline_ms != no_deadline) {
            const int64_t left = deadline_ms - steady_now_ms();
            if (left <= 0) return line_wait::timeout;
            timeout_ms = static_cast<int>(std::min<int64_t>(left, INT_MAX));
        }
        take_input(input, timeout_ms);
    }
}
