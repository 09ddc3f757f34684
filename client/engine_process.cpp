#include "client/engine_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <pthread.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int exec_failed = 127;
constexpr int default_grace_ms = 1000;
constexpr auto reap_poll = std::chrono::milliseconds(10);
constexpr int most_adoption_rounds = 100; // a fork bomb's leftovers are not chased for ever

void close_fd(int *fd) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
}

// In the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void run_child(const std::vector<char *> &args, int in_fd, int out_fd, int error_fd,
                            pid_t parent) {
    setpgid(0, 0);
    // The engine must not outlive the game, even when the game is killed.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(exec_failed);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    if (dup2(in_fd, STDIN_FILENO) < 0 || dup2(out_fd, STDOUT_FILENO) < 0 ||
        dup2(out_fd, STDERR_FILENO) < 0)
        _exit(exec_failed);
    // dup2 onto itself keeps the close-on-exec flag: clear it on the three explicitly.
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) fcntl(fd, F_SETFD, 0);
    // Nothing else the game holds open (its record, its window) reaches the engine.
    close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    execv(args[0], args.data());
    const int reason = errno;
    [[maybe_unused]] const ssize_t n = write(error_fd, &reason, sizeof reason);
    _exit(exec_failed);
}

// Waits up to `timeout` for the process to end, leaving it unreaped (a zombie keeps its
// process group's number from being reused until the group is killed).
bool wait_for_end(pid_t pid, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
            return errno == ECHILD;
        if (info.si_pid == pid) return true;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(reap_poll);
    }
}

struct process_entry {
    pid_t pid = -1, group = -1, session = -1;
    char state = 0; // 'Z': it has ended and waits to be reaped
};

// The processes whose parent is this one, as /proc tells.
std::vector<process_entry> children_of_this_process() {
    std::vector<process_entry> children;
    const pid_t self = getpid();
    std::error_code error;
    // Advanced with an error code: a process that ends meanwhile throws nothing.
    for (std::filesystem::directory_iterator it("/proc", error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::directory_entry &entry = *it;
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat_file(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat_file, line)) continue;
        // pid (name) state ppid pgrp session ...: the name may hold anything, so read after
        // its last ')'.
        const size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 1));
        char state = 0;
        long parent = 0, group = 0, session = 0;
        if (!(rest >> state >> parent >> group >> session) || parent != self) continue;
        children.push_back({static_cast<pid_t>(std::stol(name)), static_cast<pid_t>(group),
                            static_cast<pid_t>(session), state});
    }
    return children;
}

// What an engine left behind comes to this process when its parent ends (this process is
// the child subreaper): a process that left the session (setsid) or sits in a group it does
// not lead. An engine of this process is in its session and leads its own group, so none
// is taken for one.
bool adopted(const process_entry &child, pid_t session) {
    return child.session != session || child.group != child.pid;
}

// They are killed and reaped, and so are those they leave in turn.
void end_adopted_processes() {
    const pid_t session = getsid(0);
    for (int round = 0; round < most_adoption_rounds; round++) {
        std::vector<pid_t> left;
        for (const process_entry &child : children_of_this_process())
            if (adopted(child, session)) left.push_back(child.pid);
        if (left.empty()) return;
        for (pid_t pid : left) kill(pid, SIGKILL);
        for (pid_t pid : left)
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
    }
}

void reap(engine_process *p) {
    int status = 0;
    while (waitpid(p->pid, &status, 0) < 0 && errno == EINTR) {
    }
    p->exit_status = status;
    p->pid = -1;
    end_adopted_processes();
}

} // namespace

engine_process::engine_process(engine_process &&other) noexcept
    : pid(other.pid), to_engine(other.to_engine), from_engine(other.from_engine),
      exit_status(other.exit_status) {
    other.pid = other.to_engine = other.from_engine = -1;
}

engine_process &engine_process::operator=(engine_process &&other) noexcept {
    if (this != &other) {
        stop_process(this, "quit", default_grace_ms);
        pid = other.pid;
        to_engine = other.to_engine;
        from_engine = other.from_engine;
        exit_status = other.exit_status;
        other.pid = other.to_engine = other.from_engine = -1;
    }
    return *this;
}

engine_process::~engine_process() {
    stop_process(this, "quit", default_grace_ms);
}

bool start_process(const std::vector<std::string> &argv, engine_process *process,
                   std::string *error) {
    stop_process(process, "quit", default_grace_ms);
    if (argv.empty()) {
        *error = "no command";
        return false;
    }
    int in_pipe[2], out_pipe[2], error_pipe[2];
    if (pipe2(in_pipe, O_CLOEXEC) != 0) {
        *error = std::strerror(errno);
        return false;
    }
    if (pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(error_pipe, O_CLOEXEC) != 0) {
        *error = std::strerror(errno);
        for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1]}) close(fd);
        return false;
    }
    std::vector<char *> args;
    for (const std::string &word : argv) args.push_back(const_cast<char *>(word.c_str()));
    args.push_back(nullptr);
    // An engine's child that leaves its process group (setsid) is adopted by the game when
    // the engine ends, rather than by init, so that it can be ended with the engine.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) run_child(args, in_pipe[0], out_pipe[1], error_pipe[1], parent);
    const int fork_errno = errno;
    for (int fd : {in_pipe[0], out_pipe[1], error_pipe[1]}) close(fd);
    if (pid < 0) {
        for (int fd : {in_pipe[1], out_pipe[0], error_pipe[0]}) close(fd);
        *error = std::strerror(fork_errno);
        return false;
    }
    setpgid(pid, pid); // also done by the child: whichever runs first
    process->pid = pid;
    process->to_engine = in_pipe[1];
    process->from_engine = out_pipe[0];
    fcntl(process->to_engine, F_SETFL, O_NONBLOCK);
    // The exec closes the error pipe: nothing to read means the program runs.
    int reason = 0;
    ssize_t n;
    while ((n = read(error_pipe[0], &reason, sizeof reason)) < 0 && errno == EINTR) {
    }
    close(error_pipe[0]);
    if (n > 0) {
        stop_process(process, "", 0);
        *error = std::strerror(reason);
        return false;
    }
    return true;
}

bool send_line(engine_process *process, std::string_view line, int timeout_ms) {
    if (process->pid < 0 || process->to_engine < 0) return false;
    std::string text(line);
    text += '\n';
    // A write to an engine that has gone raises SIGPIPE: blocked on this thread for the
    // write, and taken back if it was raised, so that the caller just sees a failure.
    sigset_t pipe_signal, old_mask;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_signal, &old_mask);
    sigset_t pending;
    sigpending(&pending);
    const bool was_pending = sigismember(&pending, SIGPIPE);
    size_t done = 0;
    bool broken = false;
    while (done < text.size() && !broken) {
        const ssize_t n = write(process->to_engine, text.data() + done, text.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{process->to_engine, POLLOUT, 0};
            const int ready = poll(&p, 1, timeout_ms);
            broken = ready == 0 || (ready < 0 && errno != EINTR);
        } else if (!(n < 0 && errno == EINTR)) {
            broken = true;
        }
    }
    if (broken && !was_pending) {
        const timespec no_wait{0, 0};
        while (sigtimedwait(&pipe_signal, nullptr, &no_wait) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &old_mask, nullptr);
    return !broken;
}

bool process_ended(engine_process *process, int wait_ms) {
    if (process->pid < 0) return true;
    if (!wait_for_end(process->pid, std::chrono::milliseconds(wait_ms))) return false;
    // Whatever it left running in its group goes with it.
    kill(-process->pid, SIGKILL);
    reap(process);
    return true;
}

void stop_process(engine_process *process, std::string_view quit_line, int grace_ms) {
    if (process->pid >= 0) {
        if (!quit_line.empty()) send_line(process, quit_line, grace_ms);
        close_fd(&process->to_engine); // an engine that reads to the end of its input ends too
        if (!wait_for_end(process->pid, std::chrono::milliseconds(grace_ms)))
            kill(process->pid, SIGKILL);
        kill(-process->pid, SIGKILL);
        reap(process);
    }
    close_fd(&process->to_engine);
    close_fd(&process->from_engine);
}

void reap_ended_adoptees() {
    const pid_t session = getsid(0);
    for (const process_entry &child : children_of_this_process())
        if (child.state == 'Z' && adopted(child, session)) waitpid(child.pid, nullptr, WNOHANG);
}

std::string describe_exit(int wait_status) {
    if (WIFEXITED(wait_status)) return "exit status " + std::to_string(WEXITSTATUS(wait_status));
    if (WIFSIGNALED(wait_status)) {
        const int sig = WTERMSIG(wait_status);
        const char *name = sigabbrev_np(sig);
        return "killed by signal " + std::to_string(sig) +
               (name ? std::string(" (SIG") + name + ")" : "");
    }
    return "ended";
}
