// The command line of vartok-review.
#pragma once

#include "game/review/review_analysis.h"

#include <string>

struct review_options {
    std::string game;     // FILE or FILE#N; empty: the last finished game of games.pgn
    std::string pgn_path; // empty: standard output
    std::string svg_path; // empty: none
    bool summary = false;
    unsigned threads = 0; // 0: every core
    int movetime_ms = default_review_movetime_ms;
    int depth = 0; // given: it replaces the time
    review_engine engine;
};

extern const char review_usage[];

// False with one line in `error` when a word is not understood.
bool read_review_options(int argc, char **argv, review_options *out, std::string *error);
