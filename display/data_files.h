// Finding the game's data files (sprites, font).
#pragma once

#include <cstdio>

// Opens a data file for reading ("rb"): the working directory first, then the data
// directory of an installed copy. Null when neither has it.
FILE *open_data_file(const char *filename);
