// The game a review looks at: chosen in a PGN file, its moves replayed by the game's rules.
#pragma once

#include "ai/player.h"
#include "game/records/pgn_text.h"

#include <string>
#include <vector>

struct review_input {
    std::string path; // of the file read
    pgn_game record;
    game_state start;
    std::vector<san_move> moves;
    std::vector<std::string> san;      // each move as the review writes it
    std::vector<game_state> positions; // before each move, and after the last: moves + 1
    uint32_t first_fullmove = 1;
    bool white_first = true;
};

// "FILE" or "FILE#N" (the N-th game, from 1); an empty `where` stands for the last
// finished game of the person's database. Without #N, the last game of the file. False
// with one line in `error` when the file or its game cannot be read.
bool read_review_input(const std::string &where, review_input *out, std::string *error);

// The same for a record already in memory; `label` names it in `error`.
bool review_input_of_record(const pgn_game &record, const std::string &label, review_input *out,
                            std::string *error);

// The game so far at position `index`, as a player is asked about it.
game_moves game_at(const review_input &input, size_t index);

// The SAN of `line` played from `from`, each move legal there.
std::vector<std::string> line_in_san(game_state from, const std::vector<san_move> &line);
