#include "game/tui/tui_terminal.h"

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <curses.h>
#include <fcntl.h>
#include <langinfo.h>
#include <term.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int restored_signals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr const char mouse_on[] = "\x1b[?1000h\x1b[?1006h";
// Mouse reports off, plain attributes, the cursor shown, the normal screen back.
constexpr const char terminal_reset[] = "\x1b[?1006l\x1b[?1000l\x1b[0m\x1b[?25h\x1b[?1049l";

// What a signal handler needs to give the terminal back: only a handler's memory can hold
// it. Written before the handlers are installed, read only by them.
struct signal_restore {
    int fd = -1;
    struct termios settings {};
    struct sigaction previous[3] = {};
};
signal_restore at_signal;

// Only async-signal-safe calls: tcsetattr, write, sigaction, sigprocmask, raise.
void restore_and_pass_on(int signal) {
    if (at_signal.fd >= 0) {
        tcsetattr(at_signal.fd, TCSANOW, &at_signal.settings);
        ssize_t written = write(at_signal.fd, terminal_reset, sizeof terminal_reset - 1);
        (void)written;
    }
    for (size_t i = 0; i < std::size(restored_signals); i++)
        if (restored_signals[i] == signal) sigaction(signal, &at_signal.previous[i], nullptr);
    sigset_t just_this;
    sigemptyset(&just_this);
    sigaddset(&just_this, signal);
    sigprocmask(SIG_UNBLOCK, &just_this, nullptr);
    raise(signal);
}

void install_restore(int fd) {
    at_signal.fd = fd;
    tcgetattr(fd, &at_signal.settings);
    for (size_t i = 0; i < std::size(restored_signals); i++) {
        struct sigaction current {};
        if (sigaction(restored_signals[i], nullptr, &current) != 0) continue;
        if (current.sa_handler == SIG_IGN) continue; // an ignored signal stays ignored
        at_signal.previous[i] = current;
        struct sigaction restore {};
        restore.sa_handler = restore_and_pass_on;
        sigemptyset(&restore.sa_mask);
        for (int s : restored_signals) sigaddset(&restore.sa_mask, s);
        sigaction(restored_signals[i], &restore, nullptr);
    }
}

void uninstall_restore() {
    for (size_t i = 0; i < std::size(restored_signals); i++) {
        struct sigaction current {};
        if (sigaction(restored_signals[i], nullptr, &current) != 0) continue;
        if (current.sa_handler == restore_and_pass_on)
            sigaction(restored_signals[i], &at_signal.previous[i], nullptr);
    }
    at_signal.fd = -1;
}

bool locale_is_utf8() {
    const char *set = nl_langinfo(CODESET);
    return set && (std::strcmp(set, "UTF-8") == 0 || std::strcmp(set, "utf8") == 0);
}

void write_all(int fd, const char *text, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, text, size);
        if (n <= 0) return;
        text += n;
        size -= static_cast<size_t>(n);
    }
}

// Standard output to /dev/null, standard error to an unnamed file.
bool hold_standard_output(tui_terminal *t) {
    t->saved_stdout = dup(STDOUT_FILENO);
    t->saved_stderr = dup(STDERR_FILENO);
    t->held_errors = std::tmpfile();
    const int null_fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (t->saved_stdout < 0 || t->saved_stderr < 0 || !t->held_errors || null_fd < 0) {
        if (null_fd >= 0) close(null_fd);
        return false;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(null_fd, STDOUT_FILENO);
    dup2(fileno(t->held_errors), STDERR_FILENO);
    close(null_fd);
    return true;
}

void release_standard_output(tui_terminal *t) {
    std::fflush(stdout);
    std::fflush(stderr);
    if (t->saved_stdout >= 0) dup2(t->saved_stdout, STDOUT_FILENO);
    if (t->saved_stderr >= 0) dup2(t->saved_stderr, STDERR_FILENO);
    if (t->held_errors) {
        std::rewind(t->held_errors);
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, t->held_errors)) > 0)
            write_all(STDERR_FILENO, buffer, n);
        std::fclose(t->held_errors);
    }
    for (int *fd : {&t->saved_stdout, &t->saved_stderr})
        if (*fd >= 0) close(*fd), *fd = -1;
    t->held_errors = nullptr;
}

} // namespace

bool tui_possible(std::string *why) {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
        *why = "TUI needs a terminal: standard input and output must both be one";
        return false;
    }
    const char *term = std::getenv("TERM");
    if (!term || !*term || std::strcmp(term, "dumb") == 0) {
        *why = "TUI needs a terminal that can place the cursor; TERM is " +
               std::string(term && *term ? "dumb" : "not set");
        return false;
    }
    int error = 0;
    if (setupterm(term, STDOUT_FILENO, &error) != OK) {
        *why = "TUI does not know the terminal type '" + std::string(term) + "'";
        return false;
    }
    del_curterm(cur_term);
    return true;
}

bool tui_open(tui_terminal *t, bool ascii_asked, std::string *why) {
    // Only the character type: numbers in the records are written as they always are.
    std::setlocale(LC_CTYPE, "");
    t->unicode = !ascii_asked && locale_is_utf8();
    const int out_fd = dup(STDOUT_FILENO);
    t->input_fd = dup(STDIN_FILENO);
    t->screen_out = out_fd >= 0 ? fdopen(out_fd, "w") : nullptr;
    t->screen_in = t->input_fd >= 0 ? fdopen(dup(t->input_fd), "r") : nullptr;
    if (!t->screen_out || !t->screen_in || !hold_standard_output(t)) {
        *why = "TUI cannot take the terminal";
        release_standard_output(t);
        return false;
    }
    install_restore(out_fd);
    if (!newterm(nullptr, t->screen_out, t->screen_in)) {
        uninstall_restore();
        release_standard_output(t);
        *why = "TUI cannot take the terminal";
        return false;
    }
    t->open = true;
    cbreak();
    noecho();
    nonl();
    curs_set(0);
    typeahead(-1); // the keys are read here, never by the library
    const char *no_color = std::getenv("NO_COLOR");
    t->colour = has_colors() && !(no_color && *no_color);
    if (t->colour) {
        start_color();
        use_default_colors();
    }
    std::fputs(mouse_on, t->screen_out);
    std::fflush(t->screen_out);
    return true;
}

void tui_close(tui_terminal *t) {
    if (!t->open) return;
    endwin();
    std::fputs("\x1b[?1006l\x1b[?1000l", t->screen_out);
    std::fflush(t->screen_out);
    uninstall_restore();
    t->open = false;
    release_standard_output(t);
}
