#include "client/line_reader.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr size_t read_chunk = 4096;
constexpr int writer_check_ms = 100; // how often a quiet pipe's writer is looked at

// True once the process has ended, leaving it for its owner to reap.
bool writer_ended(pid_t pid) {
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return errno == ECHILD;
    return info.si_pid == pid;
}

bool has_input(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

// A whole line from `pending`, or its first max_line_bytes when it is that long.
bool take_line(line_reader *r, std::string *line) {
    for (;;) {
        const size_t newline = r->pending.find('\n');
        if (newline == std::string::npos) {
            if (r->pending.size() < max_line_bytes) return false;
            const bool was_cutting = r->cutting;
            if (!was_cutting) *line = r->pending.substr(0, max_line_bytes);
            r->pending.clear();
            r->cutting = true;
            if (!was_cutting) return true;
            continue;
        }
        const bool was_cutting = r->cutting;
        r->cutting = false;
        if (!was_cutting) {
            *line = r->pending.substr(0, std::min(newline, max_line_bytes));
            if (!line->empty() && line->back() == '\r') line->pop_back();
        }
        r->pending.erase(0, newline + 1);
        if (!was_cutting) return true;
    }
}

} // namespace

read_result read_line(line_reader *r, std::string *line, engine_clock::time_point deadline) {
    for (;;) {
        const auto now = engine_clock::now();
        if (now >= deadline) return read_result::timeout;
        if (take_line(r, line)) return read_result::line;
        if (r->closed || r->fd < 0) {
            r->closed = true;
            if (r->pending.empty() || r->cutting) return read_result::closed;
            *line = r->pending; // a last line without its end
            r->pending.clear();
            return read_result::line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        const long long slice = r->writer >= 0 ? writer_check_ms : 60000;
        pollfd p{r->fd, POLLIN, 0};
        const int ready =
            poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), slice)) + 1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            // Whatever the writer wrote before it ended is in the pipe by now: with the pipe
            // empty after its end, its output has ended.
            if (r->writer >= 0 && writer_ended(r->writer) && !has_input(r->fd)) r->closed = true;
            continue; // the deadline is checked above
        }
        if (ready < 0) {
            r->closed = true;
            continue;
        }
        char buffer[read_chunk];
        const ssize_t n = read(r->fd, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) {
            r->closed = true;
            continue;
        }
        r->pending.append(buffer, static_cast<size_t>(n));
        r->bytes_read += static_cast<size_t>(n);
    }
}
