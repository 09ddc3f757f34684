// The turn-start announcement of check and of the end of the game.
#pragma once

#include "rules/game_state.h"

// Judges the game's position for the side to move, whose king stands on king_pos: shows
// "CHECK.", or ends the process with the game-ending message when the game is over.
void check_move_stale(const game_state &game, coord king_pos);

// "Checkmate. %s won.\n" naming the side that is not `turn`, the side to move and mated.
void format_checkmate(char *message, uint8_t turn);
