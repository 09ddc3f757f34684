// The position an engine is asked about, and the moves it answers with, checked by the
// game's own rules: a start (the usual one or a FEN) and the moves played since.
#pragma once

#include "rules/game_state.h"
#include "rules/notation/coordinates.h"
#include "rules/notation/san.h"

#include <string>
#include <string_view>
#include <vector>

struct engine_position {
    std::string start_fen;          // empty: the usual starting position
    std::vector<std::string> moves; // played since, in coordinates: e2e4, e1g1, e7e8q
};

// The game's position as a FEN with no moves after it. Engines then know nothing of the
// positions before it (repetitions): pass the start and the moves where they are known.
engine_position position_of_game(const game_state &game);

struct replayed_position {
    std::string start_fen; // the start, rewritten; empty for the usual start position
    std::vector<san_move> moves;
    game_state start; // the position before them
    game_state game;  // the position after them
};

// Sets up the start and plays every move. False with the problem when the start is not a
// usable position or a move is not legal where it is played.
bool replay_position(const engine_position &position, replayed_position *out, std::string *problem);

enum class move_reading { legal, illegal, unreadable };

// A move of the side to move as an engine sends it: coordinates, the piece a pawn becomes
// in either case (e7e8q, e7e8Q). With `any_notation`, also SAN and O-O (xboard allows
// them). Checked against the legal moves: a promotion must name its piece.
move_reading read_engine_move(const game_state &game, std::string_view text, bool any_notation,
                              san_move *out);

// Plays a legal move as the game does: board, ascended pawn, history, side to move.
void play_legal_move(game_state *game, const san_move &m);

// The moves of a principal variation written in SAN, read from `game` on until a word is
// not a legal move there; move numbers ("12." "12...") are passed over.
std::vector<std::string> variation_in_san(game_state game, const std::vector<std::string> &words,
                                          bool any_notation);
