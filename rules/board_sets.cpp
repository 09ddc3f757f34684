#include "rules/bitboards.h"
#include "rules/move_piece.h"

#include <cstring>

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

// The en-passant flag off every tile, eight tiles at a time.
void clear_en_passant_flags(struct board *brd) {
    constexpr uint64_t keep = ~0x4040404040404040ull;
    uint64_t words[8];
    std::memcpy(words, brd->tiles, sizeof words);
    for (uint64_t &w : words) w &= keep;
    std::memcpy(brd->tiles, words, sizeof words);
}

} // namespace

board_sets sets_of(const struct board &brd) {
    board_sets s{};
    const uint8_t *tiles = &brd.tiles[0][0];
    for (int sq = 0; sq < board_size * board_size; sq++) put_on(&s, tiles[sq], sq);
    return s;
}

// The steps of move_piece, made on the tiles and the sets at once.
int move_piece_tracked(struct board *brd, board_sets *s, coord src, coord dst) {
    const int from = square_of(src), to = square_of(dst);
    uint8_t *tiles = &brd->tiles[0][0];
    const uint8_t p = tiles[from];
    const uint8_t captured = tiles[to];
    // Only the pawn that makes a two-square step keeps the en-passant flag: clearing the
    // flags first gives the same tiles, and spares reading back the bytes just written.
    clear_en_passant_flags(brd);
    take_off(s, captured, to);
    uint8_t moved = p;
    bool en_passant_set = false;
    switch (p & type_mask) {
    case type_pawn_unmoved:
        moved = (p & black_bit) | type_pawn;
        if (src.row - dst.row == 2 || dst.row - src.row == 2) {
            moved |= en_passant_flag;
            en_passant_set = true;
        }
        break;
    case type_pawn:
        // En passant: the captured pawn stands beside the source square.
        if (src.col != dst.col && captured == 0) {
            const int behind = (p & black_bit) ? to - 8 : to + 8;
            take_off(s, tiles[behind], behind);
            tiles[behind] = 0;
        }
        break;
    case type_king:
        if (src.col - dst.col == 2 || dst.col - src.col == 2) {
            const int row_start = from & ~7;
            const int rook_from = row_start + (dst.col < src.col ? 0 : 7);
            const int rook_to = row_start + (dst.col < src.col ? 3 : 5);
            const uint8_t rook = tiles[rook_from] | has_moved_flag;
            take_off(s, tiles[rook_to], rook_to);
            take_off(s, tiles[rook_from], rook_from);
            put_on(s, rook, rook_to);
            tiles[rook_to] = rook;
            tiles[rook_from] = 0;
        }
        break;
    default:
        break;
    }
    // The moving piece is never an empty tile: one colour set and its kind change.
    s->colour[side_of(p)] ^= bit(from) | bit(to);
    s->kind[p & piece_mask] ^= bit(from);
    s->kind[moved & piece_mask] |= bit(to);
    moved |= has_moved_flag;
    tiles[from] = 0;
    tiles[to] = en_passant_set ? moved : moved & ~en_passant_flag;
    return (moved & type_mask) == type_pawn && (dst.row == 0 || dst.row == board_size - 1);
}

void ascend_piece_tracked(struct board *brd, board_sets *sets, coord sq, uint8_t new_rank) {
    const uint8_t tile = brd->tiles[sq.row][sq.col];
    take_off(sets, tile, square_of(sq));
    put_on(sets, static_cast<uint8_t>((tile & 0xF8) | new_rank), square_of(sq));
    ascend_piece(brd, sq, new_rank);
}
