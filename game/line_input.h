// Reading the person's lines from standard input.
#pragma once

#include "game/interruption.h"

// Flushes standard output, then reads one line (at most size-1 bytes) into buff. At the end
// of input or on a read error prints "End of input." and answers end_of_input, for the game
// to end with status 1; when standard output cannot be written, answers lost_output.
interruption read_line(char *buff, int size);
