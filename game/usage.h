// The words that ask about the program instead of starting a game: --help, -h, --version.
#pragma once

// Prints the usage (--help or -h) or the version (--version) when one of the command-line
// words asks for it, and returns the exit status; returns -1 when none does.
int answer_usage_request(int argc, char **argv);

// The usage text: every command-line word with its effect and its default.
void print_usage();
