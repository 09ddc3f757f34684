// The players a review asks, behind the common player interface: one for each thread.
#pragma once

#include "ai/player.h"

#include <memory>
#include <string>
#include <vector>

struct review_engine {
    std::string command;              // ENGINE=, from the command line only; empty: strong
    std::vector<std::string> options; // ENGINE_OPTION=Name=Value, in order
    std::string protocol;             // "", "uci" or "xboard"
};

// A player for one thread of the review: the strong player with a table of its own, or
// the outside engine started anew. Null with one line in `error` when it cannot start.
std::unique_ptr<player> make_review_player(const review_engine &engine, std::string *error);
