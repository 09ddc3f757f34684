// The players a review asks, behind the common player interface.
//
// TO SWAP AT MERGE: both adapters here stand in for the shared factory functions that
// make a strong player or an outside-engine player behind ai/player.h; once those land,
// make_review_player should call them and this file go.
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
