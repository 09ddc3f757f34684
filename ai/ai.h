// The computer player.
#pragma once

#include "rules/structs.h"

// Chooses, reports, makes and records one move for the side to move.
void do_ai_move(coord king_pos);
