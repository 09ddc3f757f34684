// The program's start: the words read, the game set up, played and closed.
#pragma once

#include "game/options/words_file.h"

// Reads the words (those of the words file `config`, then the command line's), sets up the
// board, opens the window in graphics mode, plays the game, closes its record and the
// window; returns the exit status.
int vartok_main(int argc, char **argv, const words_file &config);
