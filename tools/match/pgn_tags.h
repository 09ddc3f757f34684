// The players and the result of every game of a PGN file, for the Elo fit.
#pragma once

#include <string>
#include <vector>

struct game_tags {
    std::string white, black, result;
};

// The White, Black and Result tags of each game, in order, as the game's PGN reader reads
// them. False with the line in `error` when the text is not PGN.
bool read_game_tags(const std::string &pgn, std::vector<game_tags> *games, std::string *error);
