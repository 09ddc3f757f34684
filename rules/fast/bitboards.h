// Sets of squares as 64-bit words (bit row*8 + col), the tables that go with them and the
// slider attacks. The tile bytes stay the record of a position; these sets are kept beside
// them where speed matters (the move generator, the search, perft).
#pragma once

#include "rules/board.h"
#include "rules/fast/square_tables.h"

#include <bit>
#include <cstdint>

namespace bitboards {

using bitboard = uint64_t;

constexpr bitboard bit(int sq) {
    return bitboard{1} << sq;
}

constexpr int square_of(coord c) {
    return c.row * 8 + c.col;
}

constexpr coord coord_of(int sq) {
    return coord{static_cast<uint8_t>(sq / 8), static_cast<uint8_t>(sq % 8)};
}

// Directions in the order of square_tables (the generators' order). A positive direction
// walks toward higher square numbers, so its squares come out lowest bit first.
constexpr bool positive_direction[square_tables::directions] = {true, false, true,  false,
                                                                true, false, false, true};

struct table_set {
    bitboard ray[square_tables::directions][64]; // squares from sq outward, sq excluded
    bitboard knight[64];
    bitboard king[64];
    bitboard pawn_attack[2][64]; // [0 White / 1 Black][sq]: squares a pawn there attacks
    bitboard rook_lines[64];     // the rook's rays on an empty board
    bitboard bishop_lines[64];
    bitboard between[64][64]; // squares strictly between two aligned squares, else 0
    bitboard line[64][64];    // the whole line through two aligned squares, else 0
};

constexpr table_set make_tables() {
    using namespace square_tables;
    table_set t{};
    for (int sq = 0; sq < squares; sq++) {
        for (int d = 0; d < directions; d++) {
            for (int i = 0; i < rays.length[sq][d]; i++) t.ray[d][sq] |= bit(rays.square[sq][d][i]);
            if (d < first_diagonal)
                t.rook_lines[sq] |= t.ray[d][sq];
            else
                t.bishop_lines[sq] |= t.ray[d][sq];
        }
        for (int i = 0; i < knight_jumps.count[sq]; i++)
            t.knight[sq] |= bit(knight_jumps.square[sq][i]);
        for (int i = 0; i < king_steps.count[sq]; i++) t.king[sq] |= bit(king_steps.square[sq][i]);
        const int row = sq / 8, col = sq % 8;
        for (int dc = -1; dc <= 1; dc += 2) {
            if (col + dc < 0 || col + dc > 7) continue;
            if (row > 0) t.pawn_attack[0][sq] |= bit(sq - 8 + dc);
            if (row < 7) t.pawn_attack[1][sq] |= bit(sq + 8 + dc);
        }
    }
    // Opposite directions: +col/-col, +row/-row, (+1,+1)/(-1,-1), (-1,+1)/(+1,-1).
    constexpr int opposite[directions] = {1, 0, 3, 2, 5, 4, 7, 6};
    for (int a = 0; a < squares; a++)
        for (int d = 0; d < directions; d++)
            for (int i = 0; i < rays.length[a][d]; i++) {
                const int b = rays.square[a][d][i];
                t.between[a][b] = t.ray[d][a] & ~t.ray[d][b] & ~bit(b);
                t.line[a][b] = t.ray[d][a] | t.ray[opposite[d]][a] | bit(a);
            }
    return t;
}

inline constexpr table_set tables = make_tables();

// The squares a slider on sq reaches in direction d: up to and including the first
// occupied square.
template <int d> inline bitboard ray_attacks(int sq, bitboard occupied) {
    const bitboard ray = tables.ray[d][sq];
    const bitboard blockers = ray & occupied;
    if (!blockers) return ray;
    const int first =
        positive_direction[d] ? std::countr_zero(blockers) : 63 - std::countl_zero(blockers);
    return ray ^ tables.ray[d][first];
}

inline bitboard rook_attacks(int sq, bitboard occupied) {
    return ray_attacks<0>(sq, occupied) | ray_attacks<1>(sq, occupied) |
           ray_attacks<2>(sq, occupied) | ray_attacks<3>(sq, occupied);
}

inline bitboard bishop_attacks(int sq, bitboard occupied) {
    return ray_attacks<4>(sq, occupied) | ray_attacks<5>(sq, occupied) |
           ray_attacks<6>(sq, occupied) | ray_attacks<7>(sq, occupied);
}

// The number of squares in a set. Counted by halves, quarters and so on, without the
// processor's population-count instruction that not every x86-64 build may use.
inline int count_squares(bitboard set) {
    set = set - ((set >> 1) & 0x5555555555555555ull);
    set = (set & 0x3333333333333333ull) + ((set >> 2) & 0x3333333333333333ull);
    set = (set + (set >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((set * 0x0101010101010101ull) >> 56);
}

// Removes and returns the lowest square of a non-empty set.
inline int pop_lowest(bitboard &set) {
    const int sq = std::countr_zero(set);
    set &= set - 1;
    return sq;
}

inline int pop_highest(bitboard &set) {
    const int sq = 63 - std::countl_zero(set);
    set ^= bit(sq);
    return sq;
}

} // namespace bitboards

// The pieces of a position as sets: by colour and by the low four bits of the tile byte
// (colour bit | type, the two pawn types apart). Flags are not kept: they live in the tiles.
struct board_sets {
    bitboards::bitboard colour[2]; // 0 White, 1 Black
    bitboards::bitboard kind[16];  // indexed by tile & piece_mask
};

board_sets sets_of(const struct board &brd);

// The piece `tile` (none when 0) put on or taken off square `sq` in the sets.
inline void put_on_sets(board_sets *s, uint8_t tile, int sq) {
    if (tile == 0) return;
    s->kind[tile & piece_mask] |= bitboards::bit(sq);
    s->colour[(tile & black_bit) ? 1 : 0] |= bitboards::bit(sq);
}
inline void take_off_sets(board_sets *s, uint8_t tile, int sq) {
    if (tile == 0) return;
    s->kind[tile & piece_mask] &= ~bitboards::bit(sq);
    s->colour[(tile & black_bit) ? 1 : 0] &= ~bitboards::bit(sq);
}

inline bitboards::bitboard occupied(const board_sets &s) {
    return s.colour[0] | s.colour[1];
}

// The attack test on sets: is `sq` attacked by the pieces of colour bit `enemy` (0 or 8),
// with `kind` the sets of a board by tile & piece_mask (board_sets or the fast position),
// `occ` the occupied squares and the enemy pieces on `gone` taken off the board? As with
// the tile test, an enemy king on the square itself counts as an attack.
inline bool attacked_by(const bitboards::bitboard *kind, int sq, uint8_t enemy,
                        bitboards::bitboard occ, bitboards::bitboard gone = 0) {
    using namespace bitboards;
    const bitboard keep = ~gone;
    const bitboard pawns = (kind[enemy | type_pawn_unmoved] | kind[enemy | type_pawn]) & keep;
    if (tables.pawn_attack[enemy ? 0 : 1][sq] & pawns) return true;
    if (tables.knight[sq] & kind[enemy | type_knight] & keep) return true;
    if ((tables.king[sq] | bit(sq)) & kind[enemy | type_king] & keep) return true;
    const bitboard queens = kind[enemy | type_queen];
    const bitboard straight = (kind[enemy | type_rook] | queens) & keep;
    if ((tables.rook_lines[sq] & straight) && (rook_attacks(sq, occ) & straight)) return true;
    const bitboard diagonal = (kind[enemy | type_bishop] | queens) & keep;
    return (tables.bishop_lines[sq] & diagonal) && (bishop_attacks(sq, occ) & diagonal);
}
