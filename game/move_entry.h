// A person's move: the piece, then its destination.
#pragma once

#include "rules/structs.h"

// Plays one half-move for the side to move, read from the person, and records it.
void get_move(coord king_pos);
