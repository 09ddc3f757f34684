// The turn-start announcement of check and of the end of the game.
#pragma once

#include "game/game_ending.h"
#include "rules/game_state.h"
#include "rules/position_key.h"
#include "rules/random_numbers.h"

#include <optional>

// Judges the game's position for the side to move, whose king stands on king_pos: shows
// "CHECK.", or answers how the game ends when it is over (its message not yet shown). The
// declaration of a draw after 75 half-moves draws from `random`. Without `announce_check`
// check is left to the caller to show (the full-screen board marks the king).
std::optional<game_ending> check_move_stale(running_game *run, const game_state &game,
                                            coord king_pos, random_numbers *random,
                                            bool announce_check = true);

// The same under the standard rules (FIDE): mate, stalemate, the dead positions, the
// fivefold repetition and the 75-move rule end the game by themselves; `positions` holds the
// game's positions, this one included.
std::optional<game_ending> check_fide_end(running_game *run, const game_state &game, coord king_pos,
                                          const position_history &positions,
                                          bool announce_check = true);

// `flagged` has no time left: the other side wins, or it is a draw when that side cannot mate
// (as the standard rules judge it, with `fide`).
game_ending flag_fall_ending(const struct board &brd, uint8_t flagged, bool fide);

// The side to move resigns: the game ends with that result (status 0).
game_ending resign_game(const game_state &game);

// The record's result when the side `turn` is mated.
game_outcome mate_outcome(uint8_t turn);

// "Checkmate. %s won.\n" naming the side that is not `turn`, the side to move and mated.
std::string checkmate_message(uint8_t turn);
