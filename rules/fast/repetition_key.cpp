#include "rules/fast/repetition_key.h"
#include "rules/fast/fast_moves.h"

namespace fast {

namespace {

// Squares are row*8 + col; Black's back row is row 0.
constexpr int black_king_home = 4, black_rook_a = 0, black_rook_h = 7;
constexpr int white_king_home = 60, white_rook_a = 56, white_rook_h = 63;

// A king and rook that never moved, on their squares: the tile is exactly the piece.
uint64_t side_castling(const position &pos, int king, int rook_a, int rook_h, uint8_t colour) {
    if (pos.tiles[king] != (type_king | colour)) return 0;
    uint64_t k = 0;
    if (pos.tiles[rook_a] == (type_rook | colour)) k ^= castling_key(rook_a);
    if (pos.tiles[rook_h] == (type_rook | colour)) k ^= castling_key(rook_h);
    return k;
}

// A pawn of the side to move beside the pawn that just stepped two squares, which may
// legally take it.
bool en_passant_possible(const position &pos) {
    const int target = pos.ep_pawn;
    if (target == no_square_index) return false;
    const uint8_t mover = pos.side ? black_bit : 0;
    const int behind = target + (pos.side ? 8 : -8);
    for (const int step : {-1, 1}) {
        const int col = (target & 7) + step;
        if (col < 0 || col > 7) continue;
        const int beside = target + step;
        const uint8_t tile = pos.tiles[beside];
        if (!is_pawn(tile) || (tile & black_bit) != mover) continue;
        if (is_legal_move(pos, make_move16(beside, behind))) return true;
    }
    return false;
}

} // namespace

uint64_t repetition_key(const position &pos) {
    uint64_t k = pos.piece_key;
    if (pos.side) k ^= side_key();
    k ^= side_castling(pos, white_king_home, white_rook_a, white_rook_h, 0);
    k ^= side_castling(pos, black_king_home, black_rook_a, black_rook_h, black_bit);
    if (en_passant_possible(pos)) k ^= en_passant_key(pos.ep_pawn);
    return k;
}

uint64_t repetition_key_of(const struct board &brd, uint8_t side_to_move) {
    return repetition_key(position_from_board(brd, side_to_move, 0));
}

} // namespace fast
