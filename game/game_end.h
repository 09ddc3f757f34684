// The turn-start announcement of check and of the end of the game.
#pragma once

#include "game/game_record.h"
#include "rules/game_state.h"

// Judges the game's position for the side to move, whose king stands on king_pos: shows
// "CHECK.", or ends the process with the game-ending message when the game is over.
// The record, when given, gets the result before the message is shown.
void check_move_stale(const game_state &game, coord king_pos, game_record *record = nullptr);

// The record's result when the side `turn` is mated.
game_outcome mate_outcome(uint8_t turn);

// "Checkmate. %s won.\n" naming the side that is not `turn`, the side to move and mated.
void format_checkmate(char *message, uint8_t turn);
