// A position kept for fast searching: the game's tile bytes (flags and all) beside sets of
// squares, with a Zobrist key kept up move by move. Moves are made and unmade in place with
// the game's own meaning of the tile bytes: the first step of a pawn, the en-passant flag,
// castling's rook, the has-moved flag, ascension.
#pragma once

#include "rules/board.h"
#include "rules/fast/bitboards.h"
#include "rules/game_state.h"

#include <cstdint>

namespace fast {

using bitboards::bitboard;

// A move in 16 bits: source square (bits 0-5), destination (6-11) and the type an
// ascending pawn becomes (bits 12-14: 0 none, else type_rook..type_queen). Squares are
// row*8 + col. Castling and en passant are read from the board when the move is made.
using move16 = uint16_t;
constexpr move16 null_move16 = 0; // a8 to a8: never a real move

constexpr move16 make_move16(int from, int to, int ascend = 0) {
    return static_cast<move16>(from | (to << 6) | (ascend << 12));
}
constexpr int move_from(move16 m) {
    return m & 63;
}
constexpr int move_to(move16 m) {
    return (m >> 6) & 63;
}
constexpr int move_ascend(move16 m) {
    return (m >> 12) & 7;
}

constexpr int no_square_index = -1;

struct position {
    uint8_t tiles[64];  // the game's tile bytes, index row*8 + col
    bitboard kind[16];  // by tile & piece_mask
    bitboard colour[2]; // 0 White, 1 Black
    uint64_t key;       // Zobrist key of the tile bytes and the side to move
    uint64_t piece_key; // of the pieces alone: no flags, both pawn types as one
    uint32_t clock;     // half-moves since a pawn move or capture
    int8_t ep_pawn;     // the square of the pawn that carries the en-passant flag, or -1
    uint8_t side;       // to move: 0 White, 1 Black
};

// What making a move changed, so that unmaking restores it exactly.
struct undo_record {
    uint64_t key;
    uint64_t piece_key;
    uint32_t clock;
    int8_t ep_pawn;
    uint8_t count; // tiles changed, in order
    uint8_t square[6];
    uint8_t old_tile[6];
    uint8_t captured; // the tile taken (en passant: the pawn), 0 for none
};

// The key part of one tile byte on one square; 0 for an empty square.
uint64_t tile_key(int sq, uint8_t tile);
uint64_t side_key();
// The piece_key part of one tile byte; 0 for an empty square.
uint64_t piece_key_of_tile(int sq, uint8_t tile);
// Keys of a castling right (by its rook's corner) and of a capturable en-passant pawn, for
// keys that compare positions as the repetition rule does (repetition_key.h).
uint64_t castling_key(int rook_corner);
uint64_t en_passant_key(int sq);

// The key computed from nothing, to check the one kept up move by move.
uint64_t key_from_scratch(const position &pos);
uint64_t piece_key_from_scratch(const position &pos);

// The key of the board alone (the side to move left out): the game compares positions by
// their tile bytes.
inline uint64_t board_key(const position &pos) {
    return pos.side ? pos.key ^ side_key() : pos.key;
}
uint64_t board_key_of(const struct board &brd);

position position_from_board(const struct board &brd, uint8_t side, uint32_t clock);
position position_of_game(const game_state &game);
struct board board_of(const position &pos);

inline bitboard occupied_squares(const position &pos) {
    return pos.colour[0] | pos.colour[1];
}
inline bitboard pieces_of(const position &pos, int side, int type) {
    return pos.kind[(side ? black_bit : 0) | type];
}
inline bitboard pawns_of(const position &pos, int side) {
    const uint8_t c = side ? black_bit : 0;
    return pos.kind[c | type_pawn_unmoved] | pos.kind[c | type_pawn];
}
inline int king_square(const position &pos, int side) {
    const bitboard k = pieces_of(pos, side, type_king);
    return k ? std::countr_zero(k) : no_square_index;
}

// The squares a piece of `type` (not a pawn) on `sq` attacks, with `occ` as the occupied
// squares.
inline bitboard piece_attacks(int type, int sq, bitboard occ) {
    using namespace bitboards;
    switch (type) {
    case type_rook:
        return rook_attacks(sq, occ);
    case type_knight:
        return tables.knight[sq];
    case type_bishop:
        return bishop_attacks(sq, occ);
    case type_queen:
        return rook_attacks(sq, occ) | bishop_attacks(sq, occ);
    default:
        return tables.king[sq];
    }
}

// Is `sq` attacked by the pieces of `by` (0 White, 1 Black) with `occ` as the occupied
// squares? The sets' attack test, attacked_by in bitboards.h.
bool attacked(const position &pos, int sq, int by, bitboard occ);
inline bool attacked(const position &pos, int sq, int by) {
    return attacked(pos, sq, by, occupied_squares(pos));
}
// Every piece of `by` attacking `sq` with `occ` as the occupied squares.
bitboard attackers_of(const position &pos, int sq, bitboard occ);

inline bool in_check(const position &pos) {
    const int k = king_square(pos, pos.side);
    return k != no_square_index && attacked(pos, k, pos.side ^ 1);
}
// The side that just moved left its king attacked: the move was not legal.
inline bool mover_in_check(const position &pos) {
    const int k = king_square(pos, pos.side ^ 1);
    return k != no_square_index && attacked(pos, k, pos.side);
}

// Makes a move that the generator listed; the side to move changes.
void make_move(position *pos, move16 m, undo_record *undo);
void unmake_move(position *pos, const undo_record &undo);
// Passes the move: the en-passant flag lapses, the side to move changes.
void make_null_move(position *pos, undo_record *undo);

// The game's view of the move: a castling king moves two columns; en passant takes a pawn
// beside the source square.
inline bool is_capture(const position &pos, move16 m) {
    const int from = move_from(m), to = move_to(m);
    if (pos.tiles[to]) return true;
    return (pos.tiles[from] & type_mask) == type_pawn && (from & 7) != (to & 7);
}

} // namespace fast
