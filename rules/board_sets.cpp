#include "rules/bitboards.h"
#include "rules/move_piece.h"

using namespace bitboards;

namespace {

int side_of(uint8_t tile) {
    return (tile & black_bit) ? 1 : 0;
}

void take_off(board_sets *s, uint8_t tile, int sq) {
    if (tile == 0) return;
    s->kind[tile & piece_mask] &= ~bit(sq);
    s->colour[side_of(tile)] &= ~bit(sq);
}

void put_on(board_sets *s, uint8_t tile, int sq) {
    if (tile == 0) return;
    s->kind[tile & piece_mask] |= bit(sq);
    s->colour[side_of(tile)] |= bit(sq);
}

} // namespace

board_sets sets_of(const struct board &brd) {
    board_sets s{};
    const uint8_t *tiles = &brd.tiles[0][0];
    for (int sq = 0; sq < board_size * board_size; sq++) put_on(&s, tiles[sq], sq);
    return s;
}

int move_piece_tracked(struct board *brd, board_sets *s, coord src, coord dst) {
    const int from = square_of(src), to = square_of(dst);
    const uint8_t *tiles = &brd->tiles[0][0];
    const uint8_t p = tiles[from];
    const uint8_t captured = tiles[to];
    take_off(s, captured, to);
    uint8_t moved = p;
    switch (p & type_mask) {
    case type_pawn_unmoved:
        moved = (p & black_bit) | type_pawn;
        break;
    case type_pawn:
        // En passant: the captured pawn stands beside the source square.
        if (src.col != dst.col && captured == 0) {
            const int behind = (p & black_bit) ? to - 8 : to + 8;
            take_off(s, tiles[behind], behind);
        }
        break;
    case type_king:
        if (src.col - dst.col == 2 || dst.col - src.col == 2) {
            const int row_start = from & ~7;
            const int rook_from = row_start + (dst.col < src.col ? 0 : 7);
            const int rook_to = row_start + (dst.col < src.col ? 3 : 5);
            const uint8_t rook = tiles[rook_from];
            take_off(s, tiles[rook_to], rook_to);
            take_off(s, rook, rook_from);
            put_on(s, rook, rook_to);
        }
        break;
    default:
        break;
    }
    take_off(s, p, from);
    put_on(s, moved, to);
    return move_piece(brd, src, dst);
}

void ascend_piece_tracked(struct board *brd, board_sets *sets, coord sq, uint8_t new_rank) {
    const uint8_t tile = brd->tiles[sq.row][sq.col];
    take_off(sets, tile, square_of(sq));
    put_on(sets, static_cast<uint8_t>((tile & 0xF8) | new_rank), square_of(sq));
    ascend_piece(brd, sq, new_rank);
}
