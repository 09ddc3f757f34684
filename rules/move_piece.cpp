#include "rules/move_piece.h"

#include <cstring>

constexpr uint8_t last_row_white = 0;
constexpr uint8_t last_row_black = 7;
constexpr uint8_t queen_side_rook_col = 0;
constexpr uint8_t queen_side_rook_dest = 3;
constexpr uint8_t king_side_rook_col = 7;
constexpr uint8_t king_side_rook_dest = 5;

void unset_enpass_bits(struct board *brd) {
    // Eight tiles at a time: the flag is one bit in every byte.
    constexpr uint64_t keep = ~0x4040404040404040ull;
    uint64_t words[8];
    std::memcpy(words, brd->tiles, sizeof words);
    for (uint64_t &w : words) w &= keep;
    std::memcpy(brd->tiles, words, sizeof words);
}

int move_piece(struct board *brd, coord pc_coords, coord new_coords) {
    uint8_t &src = brd->tiles[pc_coords.row][pc_coords.col];
    uint8_t &dst = brd->tiles[new_coords.row][new_coords.col];
    bool en_passant_set = false;
    uint8_t p = src;

    switch (p & type_mask) {
    case type_pawn_unmoved:
        p = (p & black_bit) | type_pawn;
        if (pc_coords.row - new_coords.row == 2 || new_coords.row - pc_coords.row == 2) {
            p |= en_passant_flag;
            en_passant_set = true;
        }
        break;
    case type_pawn:
        // En passant: the captured pawn stands beside the source square, one row behind
        // the destination as seen from the mover.
        if (pc_coords.col != new_coords.col && dst == 0) {
            const int behind = (p & black_bit) ? new_coords.row - 1 : new_coords.row + 1;
            brd->tiles[behind][new_coords.col] = 0;
        }
        break;
    case type_king:
        if (pc_coords.col - new_coords.col == 2 || new_coords.col - pc_coords.col == 2) {
            uint8_t *row = brd->tiles[pc_coords.row];
            if (new_coords.col < pc_coords.col) {
                row[queen_side_rook_dest] = row[queen_side_rook_col] | has_moved_flag;
                row[queen_side_rook_col] = 0;
            } else {
                row[king_side_rook_dest] = row[king_side_rook_col] | has_moved_flag;
                row[king_side_rook_col] = 0;
            }
        }
        break;
    default:
        break;
    }

    dst = p | has_moved_flag;
    src = 0;

    if (!en_passant_set) {
        unset_enpass_bits(brd);
    } else {
        const uint8_t moved = dst;
        unset_enpass_bits(brd);
        dst = moved;
    }

    return (dst & type_mask) == type_pawn &&
           (new_coords.row == last_row_white || new_coords.row == last_row_black);
}

void ascend_piece(struct board *brd, coord pc_coords, uint8_t new_rank) {
    uint8_t &tile = brd->tiles[pc_coords.row][pc_coords.col];
    tile = (tile & 0xF8) | new_rank;
}
