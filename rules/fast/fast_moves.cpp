#include "rules/fast/fast_moves.h"

namespace fast {

namespace {

using namespace bitboards;

// The game's castling patterns: the unmoved rook, the empty squares, the unmoved king
// without flags, byte for byte.
constexpr uint8_t queen_side_pattern[2][5] = {{3, 0, 0, 0, 7}, {11, 0, 0, 0, 15}};
constexpr uint8_t king_side_pattern[2][4] = {{7, 0, 0, 3}, {15, 0, 0, 11}};
constexpr uint8_t ascension_types[] = {type_queen, type_knight, type_rook, type_bishop};

inline void add(move_list *out, int from, int to, int ascend = 0) {
    out->moves[out->count++] = make_move16(from, to, ascend);
}

bool matches(const uint8_t *tiles, const uint8_t *pattern, int length) {
    for (int i = 0; i < length; i++)
        if (tiles[i] != pattern[i]) return false;
    return true;
}

void add_pawn_move(move_list *out, int from, int to, move_kind kind) {
    if (!is_last_row(to >> 3)) {
        add(out, from, to);
        return;
    }
    if (kind == move_kind::captures) {
        add(out, from, to, type_queen);
        return;
    }
    for (uint8_t t : ascension_types) add(out, from, to, t);
}

void pawn_moves(const position &pos, move_kind kind, move_list *out) {
    const int us = pos.side;
    const bitboard occ = occupied_squares(pos);
    const bitboard enemies = pos.colour[us ^ 1];
    const int forward = us ? 8 : -8;
    bitboard pawns = pawns_of(pos, us);
    while (pawns) {
        const int from = pop_lowest(pawns);
        const int ahead = from + forward;
        const bool ascends = is_last_row(ahead >> 3);
        if (!((occ >> ahead) & 1)) {
            if (kind == move_kind::all || ascends) add_pawn_move(out, from, ahead, kind);
            if (kind == move_kind::all && (pos.tiles[from] & type_mask) == type_pawn_unmoved &&
                !((occ >> (ahead + forward)) & 1))
                add(out, from, ahead + forward);
        }
        bitboard takes = tables.pawn_attack[us][from] & enemies;
        while (takes) add_pawn_move(out, from, pop_lowest(takes), kind);
    }
    // En passant: a pawn beside the flagged enemy pawn moves behind it.
    if (pos.ep_pawn != no_square_index && ((enemies >> pos.ep_pawn) & 1)) {
        const int target = pos.ep_pawn + forward;
        if (!pos.tiles[target]) {
            const int col = pos.ep_pawn & 7;
            const bitboard moved_pawns = pos.kind[(us ? black_bit : 0) | type_pawn];
            if (col > 0 && ((moved_pawns >> (pos.ep_pawn - 1)) & 1))
                add(out, pos.ep_pawn - 1, target);
            if (col < 7 && ((moved_pawns >> (pos.ep_pawn + 1)) & 1))
                add(out, pos.ep_pawn + 1, target);
        }
    }
}

void castling_moves(const position &pos, move_list *out) {
    const int us = pos.side, them = us ^ 1;
    const int row_start = us ? 0 : 56;
    const uint8_t *row = pos.tiles + row_start;
    const int king = row_start + 4;
    if (row[4] != (us ? 15 : 7)) return;
    const bool queen_side = matches(row, queen_side_pattern[us], 5);
    const bool king_side = matches(row + 4, king_side_pattern[us], 4);
    if (!queen_side && !king_side) return;
    if (attacked(pos, king, them)) return;
    // The passed square must not be attacked; the destination is judged with the move made.
    if (queen_side && !attacked(pos, king - 1, them)) add(out, king, king - 2);
    if (king_side && !attacked(pos, king + 1, them)) add(out, king, king + 2);
}

void piece_moves(const position &pos, move_kind kind, move_list *out) {
    const int us = pos.side;
    const uint8_t c = us ? black_bit : 0;
    const bitboard occ = occupied_squares(pos);
    const bitboard targets = kind == move_kind::all ? ~pos.colour[us] : pos.colour[us ^ 1];
    for (int type = type_rook; type <= type_king; type++) {
        bitboard pieces = pos.kind[c | type];
        while (pieces) {
            const int from = pop_lowest(pieces);
            bitboard to = piece_attacks(type, from, occ);
            to &= targets;
            while (to) add(out, from, pop_lowest(to));
        }
    }
}

} // namespace

void generate_moves(const position &pos, move_kind kind, move_list *out) {
    out->count = 0;
    pawn_moves(pos, kind, out);
    piece_moves(pos, kind, out);
    if (kind == move_kind::all) castling_moves(pos, out);
}

void legal_moves_of(position pos, move_list *out) {
    move_list all;
    generate_moves(pos, move_kind::all, &all);
    out->count = 0;
    for (int i = 0; i < all.count; i++) {
        undo_record undo;
        make_move(&pos, all.moves[i], &undo);
        if (!mover_in_check(pos)) out->moves[out->count++] = all.moves[i];
        unmake_move(&pos, undo);
    }
}

bool is_legal_move(const position &pos, move16 m) {
    move_list legal;
    legal_moves_of(pos, &legal);
    for (int i = 0; i < legal.count; i++)
        if (legal.moves[i] == m) return true;
    return false;
}

} // namespace fast
