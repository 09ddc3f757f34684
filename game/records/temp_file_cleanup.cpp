#include "game/records/temp_file_cleanup.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int cleaned_signals[] = {SIGINT, SIGTERM, SIGHUP};

// A signal handler can only find the file through memory of the process: this is the one
// place that keeps any. The path is written only while `guard` says it is being named, with
// the signals blocked on this thread; a signal another thread (the search's) takes meanwhile
// waits the moment it takes.
enum guard_state : int { nothing_guarded, being_named, guarded };
char guarded_path[PATH_MAX];
std::atomic<int> guard{nothing_guarded};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads it");

// Only async-signal-safe calls: unlink, sigaction, sigprocmask, raise.
void remove_and_end(int signal) {
    int state;
    while ((state = guard.load(std::memory_order_acquire)) == being_named) {
    }
    if (state == guarded) unlink(guarded_path);
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    sigaction(signal, &default_action, nullptr);
    sigset_t just_this;
    sigemptyset(&just_this);
    sigaddset(&just_this, signal);
    sigprocmask(SIG_UNBLOCK, &just_this, nullptr);
    raise(signal);
}

sigset_t the_signals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : cleaned_signals) sigaddset(&set, s);
    return set;
}

// Runs `step` with the three signals held back, so that the handler never sees the path
// half written.
template <typename Step> void with_signals_blocked(Step step) {
    const sigset_t set = the_signals();
    sigset_t old;
    sigprocmask(SIG_BLOCK, &set, &old);
    step();
    sigprocmask(SIG_SETMASK, &old, nullptr);
}

} // namespace

void install_temp_file_cleanup() {
    for (int s : cleaned_signals) {
        struct sigaction current {};
        if (sigaction(s, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
            (current.sa_flags & SA_SIGINFO))
            continue;
        struct sigaction cleanup {};
        cleanup.sa_handler = remove_and_end;
        cleanup.sa_mask = the_signals();
        sigaction(s, &cleanup, nullptr);
    }
}

void uninstall_temp_file_cleanup() {
    for (int s : cleaned_signals) {
        struct sigaction current {};
        if (sigaction(s, nullptr, &current) != 0 || current.sa_handler != remove_and_end) continue;
        struct sigaction default_action {};
        default_action.sa_handler = SIG_DFL;
        sigaction(s, &default_action, nullptr);
    }
}

int make_guarded_temp_file(char *template_path) {
    int fd = -1, err = 0;
    with_signals_blocked([&] {
        guard.store(being_named, std::memory_order_release);
        fd = mkostemp(template_path, O_CLOEXEC);
        err = errno;
        const bool fits = std::strlen(template_path) < sizeof guarded_path;
        if (fd >= 0 && fits) std::strcpy(guarded_path, template_path);
        guard.store(fd >= 0 && fits ? guarded : nothing_guarded, std::memory_order_release);
    });
    errno = err;
    return fd;
}

void forget_guarded_temp_file() {
    guard.store(nothing_guarded, std::memory_order_release);
}
