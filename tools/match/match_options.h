// The match tool's command line: who plays whom, how long a move may take, how many games.
#pragma once

#include "client/engine_client.h"

#include <string>
#include <vector>

struct match_side {
    std::string command;
    engine_protocol protocol = engine_protocol::detect;
    std::string name; // empty: chosen when the engine has started
    std::string go;   // its limits as a UCI go command: "go", "go movetime 50", "go depth 3"
    std::vector<engine_option> options;
    bool seeds = false; // a seed for every move (a vartok-engine)
};

struct match_options {
    int games = 20;
    int max_plies = 400;
    match_side vartok, opponent;
    bool default_opponent = true; // stockfish at a Skill Level, named after it
    int skill = 0;
    bool skill_given = false;
    int movetime = 50;
    int stockfish_depth = 0; // a depth limit instead of the move time: a weaker opponent
    long clock_base_ms = 0;  // --clock: both sides on clocks instead of their go limits
    long clock_increment_ms = 0;
    std::string pgn_extract = "/usr/games/pgn-extract";
    std::string pgn;      // empty: named after the opponent and the time
    std::string openings; // a file of opening lines; none: every game from the start
    bool help = false;
};

// Reads the command line. False with a one-line message in `error`.
bool parse_match_options(int argc, char **argv, const std::string &engine_path, match_options *o,
                         std::string *error);

// The usage text, for --help and after a bad option.
const char *match_usage();

// The limits of a go command's words (movetime, depth, nodes). False when a word is not one
// of them or its value not a number.
bool limits_of_go(const std::string &go, engine_limits *limits);
