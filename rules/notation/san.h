// Standard Algebraic Notation (SAN) written and read with the game's own move generator and
// position test.
#pragma once

#include "rules/board.h"

#include <string>
#include <string_view>

// One move as a record keeps it: from, to, and the type a pawn ascends to (type_rook ..
// type_queen), 0 when the move is not an ascension.
struct san_move {
    coord src;
    coord dst;
    uint8_t ascend;
    friend bool operator==(san_move, san_move) = default;
};

// Every legal move of one side. A pawn move to the last row is listed once per ascension
// type, queen first. Bounded by 64 squares of pieces with at most 27 destinations each.
constexpr int max_side_moves = board_size * board_size * max_destinations;
struct side_move_list {
    san_move moves[max_side_moves];
    int count;
};

// The legal moves of `turn` (0 White, non-zero Black) on `brd`, squares in index order
// (a8..h1), each piece's destinations in generation order. A side without a king gets its
// pieces' moves without the self-check filter.
void side_legal_moves(const struct board &brd, uint8_t turn, side_move_list *out);

// The same without the self-check filter for pieces other than the king (whose moves are
// always filtered): the moves that would be legal if they did not leave the king attacked.
void side_moves_ignoring_check(const struct board &brd, uint8_t turn, side_move_list *out);

// The SAN of a legal move of `turn`: piece letter, the least disambiguation that tells it
// from the side's other legal moves (file, else rank, else both), "x" for a capture,
// "O-O"/"O-O-O", "=Q" etc. for an ascension (an ascend of 0 means a queen, as the computer
// player does), and "+" or "#" from the position after the move. Returns an empty string
// when the move is not legal for `turn`.
std::string format_san(const struct board &brd, uint8_t turn, coord src, coord dst, uint8_t ascend);

// Reads one move of `turn` written in SAN or a common variant: with or without "+", "#",
// "!", "?", "e.p."; "0-0"/"0-0-0"; ascension with or without "="; long algebraic such as
// "e2e4", "Ng1-f3" or "e7e8q"; an ascension without its piece is a queen. Finds the one legal move
// it names. On failure returns false with `error` set to "illegal move", "ambiguous move" or "not a
// move" (unreadable text).
bool parse_san(const struct board &brd, uint8_t turn, std::string_view token, san_move *out,
               std::string *error);

// What a move text says, before it is matched against the moves of a position.
constexpr int king_side = 1;
constexpr int queen_side = 2;
struct move_pattern {
    uint8_t piece = 0; // 0: not said (a pawn, unless the whole source square is given)
    int from_col = -1, from_row = -1;
    coord dst{};
    uint8_t ascend = 0; // 0: not said
    bool capture = false;
    int castle_side = 0; // king_side or queen_side for castling
};

// Reads a move text as parse_san does; false when it is no move text at all.
bool read_move_pattern(std::string_view token, move_pattern *out);

// Whether the pattern names the move `m` of the piece on its source square of `brd`.
bool pattern_names(const struct board &brd, const move_pattern &p, san_move m);
