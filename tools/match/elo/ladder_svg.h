// The ladder picture: each setting's measured Elo with its 95% interval against the Elo
// asked for, and other players (settings without an asked Elo) marked across it.
#pragma once

#include <string>
#include <vector>

struct ladder_row {
    std::string word; // ELO=1500, LEVEL=3, ...
    bool asked_given = false;
    double asked = 0;
    double elo, low, high; // infinite where the fit has no bound
    int games = 0;
};

// Reads rows "WORD ASKED ELO LOW HIGH GAMES", one a line, '-' for no value; blank lines
// and lines starting with '#' are skipped. False with the line's number and problem.
bool read_ladder(const std::string &text, std::vector<ladder_row> *rows, std::string *error);

// An SVG picture: the rows with an asked Elo as points with their interval, against the
// line where measured equals asked and its band of +/-100; the others as lines across.
std::string ladder_svg(const std::vector<ladder_row> &rows, const std::string &title);
