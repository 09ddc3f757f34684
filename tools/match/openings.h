// Opening lines for a match: each game pair starts from one line, played once with each
// colour, so that two deterministic players still meet different positions and the games
// of a match are not replays of each other.
#pragma once

#include <string>
#include <vector>

using opening_line = std::vector<std::string>; // UCI moves from the start position

// Reads one line per opening: UCI moves separated by spaces; blank lines and lines starting
// with '#' are skipped. Every move is checked against the rules. False with the problem
// (naming the line) when the file cannot be read, holds no line or an illegal move.
bool load_openings(const std::string &path, std::vector<opening_line> *out, std::string *error);
