// Finding the game's data files (sprites, font).
#pragma once

#include <cstdio>

// Opens a data file for reading ("rb"): the working directory first, then the folder of
// the program itself (the build folder), then the data directory of an installed copy.
// Null when none has it.
FILE *open_data_file(const char *filename);

// One line on standard error: the data file could not be opened, and where it was looked for.
void report_missing_data_file(const char *filename);
