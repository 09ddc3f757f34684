#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr size_t read_chunk = 4096;
constexpr int exec_failed = 127;

int exit_status_of(int wstatus) {
    return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

} // namespace

bool start_child(child_process *child, const std::vector<std::string> &argv) {
    int in_pipe[2], out_pipe[2];
    if (pipe(in_pipe) != 0) return false;
    if (pipe(out_pipe) != 0) {
        close(in_pipe[0]);
        close(in_pipe[1]);
        return false;
    }
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        dup2(in_pipe[0], STDIN_FILENO);
        dup2(out_pipe[1], STDOUT_FILENO);
        dup2(out_pipe[1], STDERR_FILENO);
        close(in_pipe[0]);
        close(in_pipe[1]);
        close(out_pipe[0]);
        close(out_pipe[1]);
        std::vector<char *> args;
        for (const std::string &a : argv) args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(exec_failed);
    }
    close(in_pipe[0]);
    close(out_pipe[1]);
    // A child that died must not kill the tool with SIGPIPE on the next write.
    std::signal(SIGPIPE, SIG_IGN);
    child->pid = pid;
    child->to_child = in_pipe[1];
    child->from_child = out_pipe[0];
    child->pending.clear();
    child->name = argv[0];
    return true;
}

bool send_to_child(child_process *child, const std::string &line) {
    const std::string text = line + "\n";
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(child->to_child, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool read_child_line(child_process *child, std::string *line, int timeout_ms) {
    for (;;) {
        const size_t newline = child->pending.find('\n');
        if (newline != std::string::npos) {
            *line = child->pending.substr(0, newline);
            if (!line->empty() && line->back() == '\r') line->pop_back();
            child->pending.erase(0, newline + 1);
            return true;
        }
        pollfd p{child->from_child, POLLIN, 0};
        const int ready = poll(&p, 1, timeout_ms);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        char buffer[read_chunk];
        const ssize_t n = read(child->from_child, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        child->pending.append(buffer, static_cast<size_t>(n));
    }
}

int finish_child(child_process *child) {
    if (child->pid < 0) return -1;
    close(child->to_child);
    close(child->from_child);
    int wstatus = 0;
    waitpid(child->pid, &wstatus, 0);
    child->pid = -1;
    return exit_status_of(wstatus);
}

int run_and_collect(const std::vector<std::string> &argv, std::string *output) {
    child_process child;
    if (!start_child(&child, argv)) return -1;
    close(child.to_child);
    child.to_child = open("/dev/null", O_WRONLY);
    output->clear();
    std::string line;
    constexpr int no_timeout = -1;
    while (read_child_line(&child, &line, no_timeout)) *output += line + "\n";
    *output += child.pending; // a last line without its newline
    return finish_child(&child);
}
