// The terminal taken over by the full-screen board, and always given back: at the end of the
// game, on every error path, and on SIGINT, SIGTERM and SIGHUP (whose own ending, the
// temporary files' cleanup, then follows).
#pragma once

#include <cstdio>
#include <string>

struct tui_terminal {
    bool open = false;
    bool unicode = false; // chess symbols: the locale is UTF-8 and ASCII was not asked
    bool colour = false;  // coloured squares: the terminal has colours and NO_COLOR is unset
    int input_fd = -1;    // the keys, read without stdio
    FILE *screen_out = nullptr;
    FILE *screen_in = nullptr;
    // While the board is up, standard output goes to /dev/null (the text game's lines must not
    // scribble over it) and standard error to a file that is shown once the board is gone.
    int saved_stdout = -1;
    int saved_stderr = -1;
    FILE *held_errors = nullptr;
};

// Whether the board can be shown: standard input and output are a terminal whose type is
// known and not "dumb". When not, `why` says so in one line.
bool tui_possible(std::string *why);

// Takes the terminal: the whole screen, keys one by one without echo, SGR mouse reports.
// False, with `why` set and the terminal as it was, when that fails.
bool tui_open(tui_terminal *terminal, bool ascii_asked, std::string *why);

// Gives the terminal back as it was; what was written on standard error meanwhile follows.
void tui_close(tui_terminal *terminal);
