// Counting legal moves, and whether there is one, a set of squares at a time: the same
// numbers as generating every piece's destinations would give.
#include "rules/fast/bitboards.h"
#include "rules/move_context.h"

using namespace bitboards;

namespace {

constexpr bitboard all_squares = ~bitboard{0};

uint8_t enemy_of(uint8_t colour) {
    return colour ^ black_bit;
}

bitboard own_pieces(const board_sets &s, uint8_t colour) {
    return s.colour[colour ? 1 : 0];
}

// Legal destinations of the pawns of the context's side on `pawns`, counted a set at a
// time; taking en passant is counted one move at a time.
template <bool weigh_ascensions>
uint64_t count_pawn_moves(const move_context &ctx, bitboard pawns) {
    const board_sets &s = *ctx.sets;
    const bitboard empty = ~occupied(s);
    const uint8_t enemy = enemy_of(ctx.colour);
    const bitboard enemies = s.colour[enemy ? 1 : 0];
    const bool black = ctx.colour != 0;
    constexpr bitboard not_col0 = 0xFEFEFEFEFEFEFEFEull; // squares off column 0
    constexpr bitboard not_col7 = 0x7F7F7F7F7F7F7F7Full;
    constexpr bitboard row0 = 0xFFull, row7 = 0xFFull << 56;
    const bitboard last_row = black ? row7 : row0;
    // Pawns on the last row have no moves at all.
    pawns &= ~last_row;
    const auto forward = [black](bitboard b) { return black ? b << 8 : b >> 8; };
    uint64_t total = 0;
    const auto add = [&](bitboard targets) {
        if constexpr (weigh_ascensions) {
            total += count_squares(targets & ~last_row) + 4 * count_squares(targets & last_row);
        } else {
            total += count_squares(targets);
        }
    };
    const auto count_set = [&](bitboard group, bitboard allowed) {
        const bitboard one = forward(group) & empty;
        add(one & allowed);
        // Two-square steps: unmoved pawns whose two squares ahead are empty.
        const bitboard unmoved = group & s.kind[ctx.colour | type_pawn_unmoved];
        const bitboard two = forward(forward(unmoved) & empty) & empty;
        add(two & allowed);
        // Captures toward col-1 and col+1, as seen on the board.
        const bitboard left = black ? (group & not_col0) << 7 : (group & not_col0) >> 9;
        const bitboard right = black ? (group & not_col7) << 9 : (group & not_col7) >> 7;
        add(left & enemies & allowed);
        add(right & enemies & allowed);
    };
    const bitboard free = pawns & ~ctx.pinned;
    if (free) count_set(free, ctx.check_mask);
    for (bitboard pinned = pawns & ctx.pinned; pinned;) {
        const int sq = pop_lowest(pinned);
        count_set(bit(sq), allowed_for(ctx, sq));
    }
    // En passant: an enemy pawn with the flag beside one of the pawns, the square behind it
    // not holding an enemy.
    const uint8_t *tiles = &ctx.brd->tiles[0][0];
    for (bitboard flagged = (s.kind[enemy | type_pawn] | s.kind[enemy | type_pawn_unmoved]);
         flagged;) {
        const int victim = pop_lowest(flagged);
        if (!(tiles[victim] & en_passant_flag)) continue;
        const int vcol = victim % 8;
        for (int dc = -1; dc <= 1; dc += 2) {
            const int c = vcol + dc;
            if (c < 0 || c >= board_size) continue;
            const int from = victim + dc;
            if (!((pawns >> from) & 1)) continue;
            const int to = victim + (black ? 8 : -8);
            if (to < 0 || to >= 64) continue;
            const uint8_t target = tiles[to];
            if (target != 0 && (target & black_bit) != ctx.colour) continue; // a capture
            if (keeps_king_safe_in(ctx, from, to))
                total += (weigh_ascensions && ((last_row >> to) & 1)) ? 4 : 1;
        }
    }
    return total;
}

// Legal destinations of one piece that is not a pawn.
int count_piece_moves(const move_context &ctx, int from, uint8_t tile, bitboard occ, bitboard own) {
    switch (tile & type_mask) {
    case type_knight:
        return count_squares(tables.knight[from] & ~own & allowed_for(ctx, from));
    case type_bishop:
        return count_squares(bishop_attacks(from, occ) & ~own & allowed_for(ctx, from));
    case type_rook:
        return count_squares(rook_attacks(from, occ) & ~own & allowed_for(ctx, from));
    case type_queen:
        return count_squares((rook_attacks(from, occ) | bishop_attacks(from, occ)) & ~own &
                             allowed_for(ctx, from));
    default: {
        destination_list list;
        return legal_moves_in(ctx, coord_of(from), &list);
    }
    }
}

template <bool weigh_ascensions> uint64_t count_all(const move_context &ctx, int first_square) {
    const board_sets &s = *ctx.sets;
    const bitboard occ = occupied(s);
    const bitboard own = own_pieces(s, ctx.colour);
    const bitboard from_first = first_square <= 0 ? all_squares
                                : first_square >= board_size * board_size
                                    ? 0
                                    : all_squares << first_square;
    const bitboard pawns =
        (s.kind[ctx.colour | type_pawn_unmoved] | s.kind[ctx.colour | type_pawn]) & from_first;
    uint64_t total = 0;
    if (ctx.check_mask) {
        total = count_pawn_moves<weigh_ascensions>(ctx, pawns);
        for (bitboard pieces = own & ~pawns & from_first & ~s.kind[ctx.colour | type_king];
             pieces;) {
            const int sq = pop_lowest(pieces);
            total += count_piece_moves(ctx, sq, (&ctx.brd->tiles[0][0])[sq], occ, own);
        }
    } else {
        // Double check: only the king may move, but en passant is counted as it comes.
        total = count_pawn_moves<weigh_ascensions>(ctx, pawns);
    }
    destination_list list;
    for (bitboard kings = s.kind[ctx.colour | type_king] & from_first; kings;)
        total += legal_moves_in(ctx, coord_of(pop_lowest(kings)), &list);
    return total;
}

} // namespace

uint32_t count_legal_moves(const move_context &ctx, int first_square) {
    return static_cast<uint32_t>(count_all<false>(ctx, first_square));
}

uint64_t count_legal_moves_with_ascensions(const move_context &ctx) {
    return count_all<true>(ctx, 0);
}

namespace {

// The first square in index order of a piece that can move, or -1.
int first_mobile_square(const move_context &ctx) {
    const board_sets &s = *ctx.sets;
    const bitboard occ = occupied(s);
    const bitboard own = own_pieces(s, ctx.colour);
    const bitboard pawns = s.kind[ctx.colour | type_pawn_unmoved] | s.kind[ctx.colour | type_pawn];
    const uint8_t *tiles = &ctx.brd->tiles[0][0];
    destination_list list;
    for (bitboard pieces = own; pieces;) {
        const int sq = pop_lowest(pieces);
        const uint8_t tile = tiles[sq];
        int n;
        if ((pawns >> sq) & 1)
            n = static_cast<int>(count_pawn_moves<false>(ctx, bit(sq)));
        else if ((tile & type_mask) == type_king || !ctx.check_mask)
            n = legal_moves_in(ctx, coord_of(sq), &list);
        else
            n = count_piece_moves(ctx, sq, tile, occ, own);
        if (n > 0) return sq;
    }
    return -1;
}

} // namespace

bool has_legal_move(const move_context &ctx) {
    // Almost always a pawn step or a knight jump answers at once; only then are the pieces
    // asked one by one.
    if (ctx.check_mask) {
        const board_sets &s = *ctx.sets;
        const bitboard empty = ~occupied(s);
        const bitboard own = own_pieces(s, ctx.colour);
        const bitboard free_pawns =
            (s.kind[ctx.colour | type_pawn_unmoved] | s.kind[ctx.colour | type_pawn]) & ~ctx.pinned;
        const bitboard steps = ctx.colour ? free_pawns << 8 : free_pawns >> 8;
        if (steps & empty & ctx.check_mask) return true;
        for (bitboard knights = s.kind[ctx.colour | type_knight] & ~ctx.pinned; knights;)
            if (tables.knight[pop_lowest(knights)] & ~own & ctx.check_mask) return true;
    }
    return first_mobile_square(ctx) >= 0;
}
