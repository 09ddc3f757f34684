// A person's move: the piece, then its destination.
#pragma once

#include "display/board_view.h"
#include "rules/game_state.h"

// Plays one half-move for the side to move of `game`, read from the person (in graphics
// mode chosen with the tile cursor), and records it.
void get_move(game_state *game, tile_cursor *cursor, coord king_pos);
