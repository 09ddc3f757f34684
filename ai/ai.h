// The computer player.
#pragma once

#include "rules/structs.h"

// Chooses, reports, makes and records one move for the side to move.
void do_ai_move(coord king_pos);

// Positions rated over all computer moves of the run (every pass's count added up); the
// benchmark's signature of the search.
extern uint64_t positions_rated_total;
