// The players and the result of every game of a PGN file, for the Elo fit.
#pragma once

#include <string>
#include <vector>

struct game_tags {
    std::string white, black, result;
};

// The White, Black and Result tags of each game, in order. A game is a block of tag lines;
// its moves are not read.
std::vector<game_tags> read_game_tags(const std::string &pgn);
