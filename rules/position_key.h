// Positions as the standard repetition rule compares them, and the game's whole history of
// them. Two positions are the same when the same pieces stand on the same squares, the same
// side is to move, the castling rights are the same and so is the possibility of an
// en-passant capture. The has-moved flags count only through the castling rights they
// decide; the en-passant flag only when the capture is really possible.
#pragma once

#include "rules/board.h"

#include <cstddef>
#include <vector>

// Bits of position_key::castling.
constexpr uint8_t castle_white_king_side = 1;
constexpr uint8_t castle_white_queen_side = 2;
constexpr uint8_t castle_black_king_side = 4;
constexpr uint8_t castle_black_queen_side = 8;

constexpr uint8_t no_en_passant = 0xFF;

struct position_key {
    uint8_t pieces[board_size * board_size]; // type and colour, both pawn types as one
    uint8_t side_to_move;                    // 0 White, 1 Black
    uint8_t castling;                        // castle_* bits
    uint8_t en_passant_col;                  // where a capture is possible, or no_en_passant
    friend bool operator==(const position_key &, const position_key &) = default;
};

// The castling rights: a king and a rook that have never moved, on their squares of the
// starting position (whether castling is possible right now does not matter).
uint8_t castling_rights(const struct board &brd);

// The column of the pawn that just made a two-square step, when a pawn of `side_to_move`
// can legally take it en passant; no_en_passant otherwise.
uint8_t en_passant_capture_col(const struct board &brd, uint8_t side_to_move);

position_key key_of(const struct board &brd, uint8_t side_to_move);

// Every position of the game in order, the start included: one key at the start and one
// after each half-move. A move taken back takes its key away (resize to the position's
// index + 1).
struct position_history {
    std::vector<position_key> keys;
};

void note_position(position_history *history, const struct board &brd, uint8_t side_to_move);

// How many times `key` occurs in the history.
size_t occurrences(const position_history &history, const position_key &key);
