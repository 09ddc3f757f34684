// The turn-start announcement of check and of the end of the game.
#pragma once

#include "rules/structs.h"

// Shows "CHECK." or ends the process with the game-ending message when the game is over.
void check_move_stale(const struct board *brd, coord king_pos, uint8_t turn);

// "Checkmate. %s won.\n" naming the side that is not `turn`, the side to move and mated.
void format_checkmate(char *message, uint8_t turn);
