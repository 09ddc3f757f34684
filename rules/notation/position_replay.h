// A position set up from text: a start (the usual one or a FEN), then moves in coordinates
// played one by one with the game's own move code, so that the tile flags, the half-move
// counter, the position history and the half-move number are those of a game played to
// that point. The engine (a GUI's "position" command) and the client (the position an
// outside engine is asked about, the moves it answers with) both set positions up here.
#pragma once

#include "rules/game_state.h"
#include "rules/notation/coordinates.h"
#include "rules/notation/fen.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Reads a FEN that a game can start from. False with the reason when the text is not a
// position (load_fen's message) or one no game can reach (the side not to move in check,
// the kings side by side). An en-passant square that no pawn can just have crossed is
// ignored, and `note` says so (it is empty otherwise).
bool read_start_fen(const std::string &fen, fen_position *out, std::string *problem,
                    std::string *note = nullptr);

// A game starting at `pos`, as the game itself starts from a FEN: an empty history, the
// book off, and the half-move number its move number gives (1 for White's first move; a
// move number 0 is taken as 1).
game_state game_from_start(const fen_position &pos);

// True when the side to move may play `m` in `game`, its promotion piece checked: a pawn
// reaching the last rank must name one, and no other move may. Otherwise false, with the
// problem when `problem` is not null.
bool legal_in(const game_state &game, const san_move &m, std::string *problem);

// Plays the move `text` for the side to move when it is legal there, as the game plays a
// move: board, ascended pawn, history, side to move and half-move number. False with the
// problem otherwise; the game is then unchanged. `played`, when given, is the move played.
bool play_coordinates(game_state *game, std::string_view text, promotion_case letters,
                      std::string *problem, san_move *played = nullptr);

// Plays `moves` in turn and stops before the first that cannot be played, with its
// problem. Returns how many were played; each is added to `played` when given.
size_t play_coordinate_moves(game_state *game, std::span<const std::string> moves,
                             promotion_case letters, std::string *problem,
                             std::vector<san_move> *played = nullptr);
