// The command-line words of vartok-engine: the engine takes none to play; --help and
// --version ask about it instead.
#pragma once

// Prints the usage (--help or -h) or the version (--version) when a word asks for it and
// returns the exit status (0, or 1 when it could not be written); otherwise names any other word on standard error as ignored
// and returns -1: the engine then runs.
int answer_command_line(int argc, char **argv);
