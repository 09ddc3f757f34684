// The attack test. It answers exactly as putting a rook, knight, bishop and queen of the
// defender's colour on the square and looking for an enemy piece of the same kind among
// its destinations would (the movement of those four is symmetric), but looks along the
// precomputed rays directly.
#include "rules/attack.h"
#include "rules/fast/square_tables.h"

using namespace square_tables;

namespace {

// Sliders: the first piece along each ray.
bool attacked_along_rays(const uint8_t *tiles, int sq, uint8_t enemy) {
    for (int d = 0; d < directions; d++) {
        const uint8_t slider = d < first_diagonal ? type_rook : type_bishop;
        const uint8_t *ray = rays.square[sq][d];
        for (int i = 0; i < rays.length[sq][d]; i++) {
            const uint8_t tile = tiles[ray[i]];
            if (tile == 0) continue;
            if ((tile & black_bit) == enemy &&
                ((tile & type_mask) == slider || (tile & type_mask) == type_queen))
                return true;
            break;
        }
    }
    return false;
}

// Attacked by an enemy king (the square itself included), pawn or knight.
bool attacked_by_steppers(const struct board *brd, coord square, uint8_t defender_colour) {
    const uint8_t *tiles = &brd->tiles[0][0];
    const uint8_t side = defender_colour;
    const uint8_t enemy = side ^ black_bit;
    const int kr = square.row, kc = square.col;
    const int sq = kr * 8 + kc;

    // Enemy king on the square itself or a neighbour.
    const uint8_t enemy_king = type_king | enemy;
    if ((tiles[sq] & piece_mask) == enemy_king) return true;
    for (int i = 0; i < king_steps.count[sq]; i++)
        if ((tiles[king_steps.square[sq][i]] & piece_mask) == enemy_king) return true;

    // Enemy pawns attack from the row in front of the square (as seen from the defender).
    const int pawn_row = side ? kr + 1 : kr - 1;
    if (pawn_row >= 0 && pawn_row < board_size) {
        for (int dc = -1; dc <= 1; dc += 2) {
            const int c = kc + dc;
            if (c < 0 || c >= board_size) continue;
            const uint8_t tile = brd->tiles[pawn_row][c];
            if (tile != 0 && is_pawn(tile) && (tile & black_bit) == enemy) return true;
        }
    }

    const uint8_t enemy_knight = type_knight | enemy;
    for (int i = 0; i < knight_jumps.count[sq]; i++)
        if ((tiles[knight_jumps.square[sq][i]] & piece_mask) == enemy_knight) return true;
    return false;
}

} // namespace

int king_threatened(const struct board *brd, const coord *king_pos, coord pc_coords) {
    return square_attacked(brd, *king_pos, brd->tiles[pc_coords.row][pc_coords.col] & black_bit);
}

int square_attacked(const struct board *brd, coord square, uint8_t defender_colour) {
    if (!on_board(square.row, square.col)) return 0; // no king: nothing to attack
    if (attacked_by_steppers(brd, square, defender_colour)) return 1;
    return attacked_along_rays(&brd->tiles[0][0], square.row * 8 + square.col,
                               defender_colour ^ black_bit);
}
