// Start-up and the turn loop.
#pragma once

// Reads the command-line words, sets up the board, opens the window in graphics mode and
// plays the game; returns only when the board cannot be set up.
int vartok_main(int argc, char **argv);

// Applies the command-line words (without the program name).
void parse_args(int argc, char **argv);

// The turn loop: one cycle per half-move; ends the process when the game is over.
[[noreturn]] void game();

// Prints "Out of memory." and ends the process with status 1.
[[noreturn]] void outofmemory();
