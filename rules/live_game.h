// The live game: the position being played, its status and the half-move counter.
// Everything else works on scratch copies.
#pragma once

#include "rules/structs.h"

extern struct board board;
extern struct game_status game_status;
extern uint32_t turn_count;
