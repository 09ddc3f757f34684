// Board queries, move execution, move generation and the attack test.
#pragma once

#include "rules/structs.h"

// --- board queries ---
int tile_occupied(const struct board *brd, unsigned row, unsigned col);
uint8_t *ptr_to_tile(struct board *brd, unsigned row, unsigned col);
// First king of `side` (0 White, non-zero Black) in index order a8..h1, or no_square.
coord find_king(const struct board *brd, uint8_t side);
void piece_count(const struct board *brd, uint8_t side, uint8_t *queen_count, uint8_t *rook_count,
                 uint8_t *bishop_count, uint8_t *knight_count, uint8_t *pawn_count);
// 1 if one of the first `count` entries equals (row, col); looks from the last to the first.
int move_in_list(const coord *list, uint8_t count, uint8_t row, uint8_t col);
void set_starting_position(struct board *brd);

// --- move execution ---
// Returns 1 when the moved piece is a pawn standing on row 0 or 7 (it must be ascended).
int move_piece(struct board *brd, coord pc_coords, coord new_coords);
void ascend_piece(struct board *brd, coord pc_coords, uint8_t new_rank);
void unset_enpass_bits(struct board *brd);

// --- move generation ---
// Fills `list` with the destinations of the piece on pc_coords in generation order and
// returns their number. With a king position each destination is kept only if that king
// is safe after the move; a null king_pos switches the filter off (kings always filter).
uint8_t legal_moves(const struct board *brd, coord pc_coords, destination_list *list,
                    const coord *king_pos);

// --- attack test ---
// 1 if the square *king_pos is attacked by the colour opposite to the piece on pc_coords.
int king_threatened(const struct board *brd, const coord *king_pos, coord pc_coords);
// The same test with the defender's colour given as the tile colour bit (0 or 8).
int square_attacked(const struct board *brd, coord square, uint8_t defender_colour);
