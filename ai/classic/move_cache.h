// The per-square cache of one computer move: each piece's legal destinations and the
// rating of each, so that the second pass reuses the first pass's lists and records.
#pragma once

#include "rules/board.h"

struct piece_all_moves {
    uint8_t move_count;                  // legal destinations of the piece on the square
    struct move moves[max_destinations]; // entry k rates the move to legal_moves.squares[k]
    destination_list legal_moves;        // in generation order
};

// Indexed [row][col]; squares without a piece of the side to move stay empty.
struct move_cache {
    piece_all_moves squares[board_size][board_size];
};

void clear_move_cache(move_cache *cache);

// Number of cached move records, over all squares, whose score is at least `score`.
uint64_t moves_above_score(const move_cache &cache, int64_t score);
