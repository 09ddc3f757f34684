// A checker run to its end, its whole output collected.
#pragma once

#include <string>
#include <vector>

// Runs argv[0] (a path) with the other words as its arguments and no input; its standard
// output and error go to `output`. Returns its exit status, or -1 when it could not be run
// or was killed.
int run_and_collect(const std::vector<std::string> &argv, std::string *output);
