// The position the GUI sets up: the start position or a FEN, then its moves played one by
// one with the game's own move code, so that the tile flags, the half-move counter, the
// position history and the half-move number are those of a game played to that point.
#pragma once

#include "ai/player.h"
#include "engine/move_text.h"
#include "engine/uci_words.h"
#include "rules/game_state.h"

#include <string>

// The usual start, White to move at half-move 1, the opening book ready.
game_state start_position();

// A FEN position with an empty history and the book off; its half-move number comes from
// the move number as in vartok-analyse (at least 2). False with the problem when the text
// is not a position or one no game can reach (the side not to move in check, the kings
// side by side). An en-passant square that no pawn can just have crossed is ignored, and
// `note` says so (it is empty otherwise).
bool position_from_fen(const std::string &fen, game_state *out, std::string *problem,
                       std::string *note = nullptr);

// Plays `text` for the side to move when it is legal there, as the game plays a move:
// board, ascended pawn, history, side to move and half-move number. False with the
// problem otherwise; the game is then unchanged.
bool play_move_text(game_state *game, const std::string &text, std::string *problem);

// The legal move `m` names, with its promotion piece checked: true when the game allows it.
bool legal_in(const game_state &game, const uci_move &m, std::string *problem);

// Sets up the position of the words after "position". False with the problem when its
// start is unusable: `*game` is then unchanged. An illegal move ends the replay there:
// true is returned with `*game` the position before it and the problem named. A FEN's
// en-passant square that is ignored is named in the problem too. `replayed`, when given,
// gets the start and the moves played as well (only when true is returned).
bool set_up_position(const word_list &words, size_t from, game_state *game, std::string *problem,
                     game_moves *replayed = nullptr);
