// Reading the person's lines from standard input.
#pragma once

// Flushes standard output, then reads one line (at most size-1 bytes) into buff. At the end
// of input or on a read error prints "End of input." and ends the process with status 1.
void read_line(char *buff, int size);
