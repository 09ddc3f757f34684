// The words that ask about the program instead of starting a game: --help, -h, --version.
#pragma once

#include "game/options/words_file.h"

// Prints the usage (--help or -h) or the version (--version) when one of the command-line
// words asks for it, and returns the exit status; returns -1 when none does.
int answer_usage_request(int argc, char **argv, const words_file &config);

// The usage text: every command-line word with its effect and its default, and the words
// file with whether it was read.
void print_usage(const words_file &config);
