// Checking a game record: its moves replayed on a local board with the game's own rules.
#pragma once

#include "game/records/pgn_text.h"
#include "rules/notation/fen.h"
#include "rules/notation/san.h"

#include <string>
#include <vector>

struct replayed_game {
    std::vector<san_move> moves; // in the order played, each with its ascension
    fen_position final_position; // board, side to move, half-move clock and move number
};

// The usual starting position, White to move, move 1.
fen_position usual_start_position();

// Where a record starts: its FEN tag when it has one, else the usual start. Refuses a FEN
// tag that load_fen refuses and a SetUp tag of "1" without a FEN; replay_moves then refuses
// a position that no game can reach.
bool record_start_position(const pgn_game &game, fen_position *start, std::string *error);

// Replays SAN tokens from `start`. Refuses a start where the side not to move is in check,
// and the first token that is not exactly one legal move, naming it:
// "move 12 (Nxd4): illegal move", "move 12... (Nxd4): ambiguous move" for a Black move.
bool replay_moves(const fen_position &start, const std::vector<std::string> &tokens,
                  replayed_game *out, std::string *error);
