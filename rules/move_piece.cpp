#include "rules/move_piece.h"

#include "rules/fast/bitboards.h"

#include <cstring>

using namespace bitboards;

namespace {

constexpr int queen_side_rook_col = 0;
constexpr int queen_side_rook_dest = 3;
constexpr int king_side_rook_col = 7;
constexpr int king_side_rook_dest = 5;

} // namespace

// The steps of a move on the tiles, and on the sets when `track`.
template <bool track>
int move_piece_detail::move_on(struct board *brd, board_sets *s, coord src, coord dst) {
    const int from = square_of(src), to = square_of(dst);
    uint8_t *tiles = &brd->tiles[0][0];
    const uint8_t p = tiles[from];
    const uint8_t captured = tiles[to];
    // Only the pawn that makes a two-square step keeps the en-passant flag: clearing the
    // flags first gives the same tiles, and spares reading back the bytes just written.
    unset_enpass_bits(brd);
    if constexpr (track) take_off_sets(s, captured, to);
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
        // En passant: the captured pawn stands beside the source square, one row behind
        // the destination as seen from the mover.
        if (src.col != dst.col && captured == 0) {
            const int behind = (p & black_bit) ? to - 8 : to + 8;
            if constexpr (track) take_off_sets(s, tiles[behind], behind);
            tiles[behind] = 0;
        }
        break;
    case type_king:
        if (src.col - dst.col == 2 || dst.col - src.col == 2) {
            const int row_start = from & ~7;
            const int rook_from =
                row_start + (dst.col < src.col ? queen_side_rook_col : king_side_rook_col);
            const int rook_to =
                row_start + (dst.col < src.col ? queen_side_rook_dest : king_side_rook_dest);
            const uint8_t rook = tiles[rook_from] | has_moved_flag;
            if constexpr (track) {
                take_off_sets(s, tiles[rook_to], rook_to);
                take_off_sets(s, tiles[rook_from], rook_from);
                put_on_sets(s, rook, rook_to);
            }
            tiles[rook_to] = rook;
            tiles[rook_from] = 0;
        }
        break;
    default:
        break;
    }
    if constexpr (track) {
        // The moving piece is never an empty tile: one colour set and its kind change.
        s->colour[(p & black_bit) ? 1 : 0] ^= bit(from) | bit(to);
        s->kind[p & piece_mask] ^= bit(from);
        s->kind[moved & piece_mask] |= bit(to);
    }
    moved |= has_moved_flag;
    tiles[from] = 0;
    tiles[to] = en_passant_set ? moved : moved & ~en_passant_flag;
    // After the switch a pawn is always a moved pawn: one type to compare.
    return (moved & type_mask) == type_pawn && is_last_row(dst.row);
}

template int move_piece_detail::move_on<true>(struct board *, board_sets *, coord, coord);
template int move_piece_detail::move_on<false>(struct board *, board_sets *, coord, coord);

void unset_enpass_bits(struct board *brd) {
    // Eight tiles at a time: the flag is one bit in every byte.
    constexpr uint64_t keep = ~0x4040404040404040ull;
    uint64_t words[8];
    std::memcpy(words, brd->tiles, sizeof words);
    for (uint64_t &w : words) w &= keep;
    std::memcpy(brd->tiles, words, sizeof words);
}

void ascend_piece(struct board *brd, coord sq, uint8_t new_rank, board_sets *sets) {
    uint8_t &tile = brd->tiles[sq.row][sq.col];
    const uint8_t ascended = static_cast<uint8_t>((tile & 0xF8) | new_rank);
    if (sets) {
        take_off_sets(sets, tile, square_of(sq));
        put_on_sets(sets, ascended, square_of(sq));
    }
    tile = ascended;
}
