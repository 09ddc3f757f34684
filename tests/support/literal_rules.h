// The chess rules the plain computer player uses: move execution, move generation, the
// attack test and the position test written out step by step with board copies and
// substituted pieces, independent of the game's faster rules.
#pragma once

#include "rules/board.h"
#include "rules/game_state.h"

#include <cstdint>

namespace literal {

int move_piece(struct board *brd, coord pc_coords, coord new_coords);
void ascend_piece(struct board *brd, coord pc_coords, uint8_t new_rank);

// Destinations in generation order into `list` (room for 27); returns their number.
uint8_t legal_moves(const struct board *brd, coord pc_coords, coord *list, const coord *king_pos);

int king_threatened(const struct board *brd, const coord *king_pos, coord pc_coords);

int check_stale(const game_status *status, const struct board *brd, coord king_pos, uint8_t depth);

// A move of the game: the board and the half-move counter of the draw rules.
int play_move(game_state *game, coord src, coord dst);
void log_move(game_state *game);

coord find_king(const struct board *brd, uint8_t side);

} // namespace literal
