#include "rules/board_queries.h"

coord find_king(const struct board *brd, uint8_t side) {
    const uint8_t wanted = side ? (type_king | black_bit) : type_king;
    for (uint8_t row = 0; row < board_size; row++)
        for (uint8_t col = 0; col < board_size; col++)
            if ((brd->tiles[row][col] & piece_mask) == wanted) return {row, col};
    return no_square;
}

void piece_count(const struct board *brd, uint8_t side, uint8_t *queen_count, uint8_t *rook_count,
                 uint8_t *bishop_count, uint8_t *knight_count, uint8_t *pawn_count) {
    *queen_count = *rook_count = *bishop_count = *knight_count = *pawn_count = 0;
    const uint8_t colour = side ? black_bit : 0;
    for (const auto &row : brd->tiles) {
        for (uint8_t tile : row) {
            if (tile == 0 || (tile & black_bit) != colour) continue;
            switch (tile & type_mask) {
            case type_pawn_unmoved:
            case type_pawn:
                ++*pawn_count;
                break;
            case type_rook:
                ++*rook_count;
                break;
            case type_knight:
                ++*knight_count;
                break;
            case type_bishop:
                ++*bishop_count;
                break;
            case type_queen:
                ++*queen_count;
                break;
            default:
                break; // kings are not counted
            }
        }
    }
}

void set_starting_position(struct board *brd) {
    static constexpr uint8_t back_rank[board_size] = {type_rook,   type_knight, type_bishop,
                                                      type_queen,  type_king,   type_bishop,
                                                      type_knight, type_rook};
    *brd = {};
    for (int col = 0; col < board_size; col++) {
        brd->tiles[0][col] = back_rank[col] | black_bit;
        brd->tiles[1][col] = type_pawn_unmoved | black_bit;
        brd->tiles[6][col] = type_pawn_unmoved;
        brd->tiles[7][col] = back_rank[col];
    }
}
