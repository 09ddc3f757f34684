// The words with which a developer tool is asked about itself instead of doing its work.
#pragma once

// When one of the command-line words is --help or -h, prints `usage` on standard output
// and returns the tool's exit status: 0, or 1 when the text could not be written.
// Returns -1 when no word asks.
int answer_help(int argc, char **argv, const char *usage);
