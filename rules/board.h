// The records that hold a game: tile bytes, board, squares, move records,
// position history and game status.
#pragma once

#include <cstdint>

// Tile byte: bits 0-2 piece type, bit 3 colour (set = Black),
// bit 6 en-passant flag, bit 7 has-moved flag. An empty square is 0.
constexpr uint8_t type_mask = 0x07;
constexpr uint8_t piece_mask = 0x0F; // type and colour: identifies a piece
constexpr uint8_t black_bit = 0x08;
constexpr uint8_t en_passant_flag = 0x40;
constexpr uint8_t has_moved_flag = 0x80;

constexpr uint8_t type_pawn_unmoved = 1;
constexpr uint8_t type_pawn = 2;
constexpr uint8_t type_rook = 3;
constexpr uint8_t type_knight = 4;
constexpr uint8_t type_bishop = 5;
constexpr uint8_t type_queen = 6;
constexpr uint8_t type_king = 7;

constexpr uint8_t side_white = 0;
constexpr uint8_t side_black = 1;

constexpr int board_size = 8;

struct coord {
    uint8_t row;
    uint8_t col;
    friend bool operator==(coord, coord) = default;
};

// (255, 255): no square, the answer of find_king when the king is missing.
constexpr coord no_square{255, 255};

struct board {
    uint8_t tiles[board_size][board_size];
    friend bool operator==(const struct board &, const struct board &) = default;
};

// One candidate move of the computer player with its rating.
struct move {
    int64_t score;
    uint8_t ascend; // ascension type chosen (3..6), 0 for none
    coord src;
    coord dst;
    uint8_t checkmate_found; // ply of the nearest mate found below, 255 for none
    uint8_t staledraw : 1;   // a draw was met below this move
};

constexpr uint8_t no_checkmate = 255;

// Most destinations any piece can have: a queen in the middle of an empty board.
constexpr int max_destinations = 27;

// Destinations of one piece in generation order; callers walk it from the last
// entry to the first.
struct destination_list {
    coord squares[max_destinations];
    uint8_t count;
};

struct game_position {
    struct board board;
    uint8_t turn : 1; // the side that made the move leading to this position
    friend bool operator==(const game_position &, const game_position &) = default;
};

constexpr int history_slots = 16;

struct last_moves {
    game_position position[history_slots];
    uint8_t index : 4; // the slot the next entry goes to
    friend bool operator==(const last_moves &, const last_moves &) = default;
};

struct game_status {
    struct last_moves last_moves;
    uint32_t moves_pawn_capture; // half-moves on the live board since a pawn move or capture
    uint8_t turn : 1;            // side to move: 0 White, 1 Black
    uint8_t black_ai : 1;
    uint8_t white_ai : 1;
    friend bool operator==(const game_status &, const game_status &) = default;
};

inline bool is_black(uint8_t tile) {
    return (tile & black_bit) != 0;
}
inline uint8_t piece_type(uint8_t tile) {
    return tile & type_mask;
}
inline bool is_pawn(uint8_t tile) {
    uint8_t t = tile & type_mask;
    return t == type_pawn_unmoved || t == type_pawn;
}
// Row 0 is White's last row, row 7 Black's: a pawn that reaches either ascends.
constexpr bool is_last_row(int row) {
    return row == 0 || row == board_size - 1;
}
// Does the piece `tile`, moved to `dst`, reach the last row as a pawn (and so ascend)?
inline bool reaches_last_row(uint8_t tile, coord dst) {
    return is_pawn(tile) && is_last_row(dst.row);
}
inline bool on_board(int row, int col) {
    return row >= 0 && row < board_size && col >= 0 && col < board_size;
}

// 1 if one of the first `count` entries equals (row, col); looks from the last to the first.
inline int move_in_list(const coord *list, uint8_t count, uint8_t row, uint8_t col) {
    for (int i = count - 1; i >= 0; i--)
        if (list[i].row == row && list[i].col == col) return 1;
    return 0;
}
