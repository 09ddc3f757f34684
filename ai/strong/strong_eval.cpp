#include "ai/strong/strong_eval.h"

#include <algorithm>
#include <cstdlib>

using namespace bitboards;
using fast::position;

namespace {

constexpr int full_phase = 24;
constexpr int phase_weight[eval_pieces] = {0, 1, 1, 2, 4, 0};
// Squares a piece reaches in an average position; fewer cost, more gain.
constexpr int mobility_base[4] = {4, 6, 7, 13};
constexpr int bare_king_win = 100; // on top of the material: a won ending
constexpr int drawish_scale = 8;   // an ending the stronger side cannot win: score divided

constexpr bitboard file_a = 0x0101010101010101ull;

constexpr int piece_of_type(int type) {
    switch (type) {
    case type_pawn_unmoved:
    case type_pawn:
        return ep_pawn;
    case type_knight:
        return ep_knight;
    case type_bishop:
        return ep_bishop;
    case type_rook:
        return ep_rook;
    case type_queen:
        return ep_queen;
    default:
        return ep_king;
    }
}

// Row and column distances to the nearest edge, added: 0 in a corner, 6 in the middle.
constexpr int centrality(int sq) {
    const int row = sq >> 3, col = sq & 7;
    return std::min(row, 7 - row) + std::min(col, 7 - col);
}

constexpr int distance(int a, int b) {
    const int dr = (a >> 3) - (b >> 3), dc = (a & 7) - (b & 7);
    return std::max(dr < 0 ? -dr : dr, dc < 0 ? -dc : dc);
}

constexpr int manhattan(int a, int b) {
    const int dr = (a >> 3) - (b >> 3), dc = (a & 7) - (b & 7);
    return (dr < 0 ? -dr : dr) + (dc < 0 ? -dc : dc);
}

// The rank of a square counted from `side`'s own first rank (0..7).
constexpr int relative_rank(int side, int sq) {
    return side ? sq >> 3 : 7 - (sq >> 3);
}

constexpr eval_weights make_initial_weights() {
    eval_weights w{};
    constexpr int value_mg[eval_pieces] = {85, 320, 330, 480, 950, 0};
    constexpr int value_eg[eval_pieces] = {110, 300, 320, 520, 950, 0};
    constexpr int pawn_mg[8] = {0, 0, 5, 10, 20, 35, 60, 0};
    constexpr int pawn_eg[8] = {0, 0, 10, 20, 35, 55, 85, 0};
    constexpr int king_home[8] = {20, 30, 10, 0, 0, 10, 30, 20};
    constexpr int king_second[8] = {10, 10, -5, -10, -10, -5, 10, 10};
    for (int p = 0; p < eval_pieces; p++) {
        w.piece_value[mg][p] = value_mg[p];
        w.piece_value[eg][p] = value_eg[p];
    }
    for (int sq = 0; sq < 64; sq++) {
        const int rank = 7 - (sq >> 3), col = sq & 7, c = centrality(sq);
        const bool centre_file = col == 3 || col == 4;
        if (rank >= 1 && rank <= 6) {
            w.psqt[mg][ep_pawn][sq] =
                pawn_mg[rank] + (centre_file && rank >= 2 && rank <= 4 ? 10 : 0);
            w.psqt[eg][ep_pawn][sq] = pawn_eg[rank];
        }
        w.psqt[mg][ep_knight][sq] = (c - 3) * 8;
        w.psqt[eg][ep_knight][sq] = (c - 3) * 6;
        w.psqt[mg][ep_bishop][sq] = (c - 3) * 4;
        w.psqt[eg][ep_bishop][sq] = (c - 3) * 4;
        w.psqt[mg][ep_rook][sq] = (rank == 6 ? 15 : 0) + (centre_file ? 3 : 0);
        w.psqt[eg][ep_rook][sq] = rank == 6 ? 10 : 0;
        w.psqt[mg][ep_queen][sq] = (c - 3) * 2;
        w.psqt[eg][ep_queen][sq] = (c - 3) * 5;
        w.psqt[mg][ep_king][sq] = rank == 0   ? king_home[col]
                                  : rank == 1 ? king_second[col]
                                              : -20 - 10 * rank;
        w.psqt[eg][ep_king][sq] = (c - 3) * 12;
    }
    constexpr int mobility_mg[4] = {4, 4, 2, 1}, mobility_eg[4] = {4, 4, 3, 2};
    constexpr int passed_mg[8] = {0, 5, 10, 15, 25, 40, 60, 0};
    constexpr int passed_eg[8] = {0, 10, 20, 35, 60, 90, 130, 0};
    constexpr int passed_king[8] = {0, 0, 2, 5, 10, 15, 20, 0};
    for (int i = 0; i < 4; i++) {
        w.mobility[mg][i] = mobility_mg[i];
        w.mobility[eg][i] = mobility_eg[i];
    }
    for (int r = 0; r < 8; r++) {
        w.passed[mg][r] = passed_mg[r];
        w.passed[eg][r] = passed_eg[r];
        w.passed_king_distance[r] = passed_king[r];
    }
    w.isolated[mg] = -10, w.isolated[eg] = -12;
    w.doubled[mg] = -10, w.doubled[eg] = -20;
    w.bishop_pair[mg] = 30, w.bishop_pair[eg] = 50;
    w.rook_open_file[mg] = 25, w.rook_open_file[eg] = 10;
    w.rook_half_open_file[mg] = 12, w.rook_half_open_file[eg] = 5;
    w.king_shield[mg] = 10, w.king_shield[eg] = 0;
    w.king_attack[0] = 2, w.king_attack[1] = 2, w.king_attack[2] = 3, w.king_attack[3] = 5;
    w.tempo = 10;
    return w;
}

struct side_totals {
    int mg = 0, eg = 0;
    void add(const int (&pair)[2], int times = 1) {
        mg += pair[0] * times;
        eg += pair[1] * times;
    }
};

bitboard file_of(int sq) {
    return file_a << (sq & 7);
}

bitboard adjacent_files(int sq) {
    const int col = sq & 7;
    bitboard b = 0;
    if (col > 0) b |= file_a << (col - 1);
    if (col < 7) b |= file_a << (col + 1);
    return b;
}

// The squares in front of a pawn of `side` on sq, on its own file and the two beside it.
bitboard front_span(int side, int sq) {
    const int row = sq >> 3;
    const bitboard files = file_of(sq) | adjacent_files(sq);
    bitboard rows_ahead = 0;
    if (side && row < 7) rows_ahead = ~0ull << (8 * (row + 1));
    if (!side && row > 0) rows_ahead = ~0ull >> (8 * (8 - row));
    return files & rows_ahead;
}

bitboard pawn_attacks_of(const position &pos, int side) {
    bitboard pawns = fast::pawns_of(pos, side), out = 0;
    while (pawns) out |= tables.pawn_attack[side][pop_lowest(pawns)];
    return out;
}

void evaluate_pawns(const position &pos, const eval_weights &w, int side, side_totals *t) {
    const bitboard own = fast::pawns_of(pos, side), enemy = fast::pawns_of(pos, side ^ 1);
    const int own_king = fast::king_square(pos, side),
              enemy_king = fast::king_square(pos, side ^ 1);
    bitboard pawns = own;
    while (pawns) {
        const int sq = pop_lowest(pawns);
        const int rank = relative_rank(side, sq);
        if (!(adjacent_files(sq) & own)) t->add(w.isolated);
        if (file_of(sq) & own & ~bit(sq)) t->add(w.doubled);
        if (!(front_span(side, sq) & enemy)) {
            t->mg += w.passed[mg][rank];
            t->eg += w.passed[eg][rank];
            if (own_king >= 0 && enemy_king >= 0) {
                const int stop = side ? sq + 8 : sq - 8;
                t->eg += w.passed_king_distance[rank] *
                         (distance(enemy_king, stop) - distance(own_king, stop));
            }
        }
    }
}

void evaluate_pieces(const position &pos, const eval_weights &w, int side, side_totals *t,
                     int *king_units) {
    const int them = side ^ 1;
    const bitboard occ = fast::occupied_squares(pos);
    const bitboard safe = ~pos.colour[side] & ~pawn_attacks_of(pos, them);
    const int enemy_king = fast::king_square(pos, them);
    const bitboard king_zone = enemy_king >= 0 ? tables.king[enemy_king] | bit(enemy_king) : 0;
    const bitboard own_pawns = fast::pawns_of(pos, side), enemy_pawns = fast::pawns_of(pos, them);
    const uint8_t c = side ? black_bit : 0;
    for (int type = type_rook; type <= type_queen; type++) {
        bitboard pieces = pos.kind[c | type];
        const int index = type == type_knight   ? 0
                          : type == type_bishop ? 1
                          : type == type_rook   ? 2
                                                : 3;
        while (pieces) {
            const int sq = pop_lowest(pieces);
            const bitboard reach = fast::piece_attacks(type, sq, occ);
            const int moves = count_squares(reach & safe) - mobility_base[index];
            t->mg += w.mobility[mg][index] * moves;
            t->eg += w.mobility[eg][index] * moves;
            *king_units += w.king_attack[index] * count_squares(reach & king_zone);
            if (type == type_rook && !(file_of(sq) & own_pawns))
                t->add((file_of(sq) & enemy_pawns) ? w.rook_half_open_file : w.rook_open_file);
        }
    }
    if (count_squares(pos.kind[c | type_bishop]) >= 2) t->add(w.bishop_pair);
    // Own pawns on the three files of the king, one or two ranks in front of it.
    const int king = fast::king_square(pos, side);
    if (king >= 0) {
        const bitboard files = file_of(king) | adjacent_files(king);
        const int row = king >> 3;
        bitboard shield_rows = 0;
        for (int step = 1; step <= 2; step++) {
            const int r = side ? row + step : row - step;
            if (r >= 0 && r < 8) shield_rows |= 0xFFull << (8 * r);
        }
        t->add(w.king_shield, count_squares(files & shield_rows & own_pawns));
    }
}

// One side has only its king left: the other wins with enough material by driving that
// king to the edge (to a corner of the bishop's colour with bishop and knight) and coming
// close with its own.
bool bare_king_ending(const position &pos, int weak, int material_eg, int *score) {
    const int strong = weak ^ 1;
    if (pos.colour[weak] != fast::pieces_of(pos, weak, type_king)) return false;
    if (fast::pawns_of(pos, strong)) return false;
    const uint8_t c = strong ? black_bit : 0;
    const int queens = count_squares(pos.kind[c | type_queen]);
    const int rooks = count_squares(pos.kind[c | type_rook]);
    const int bishops = count_squares(pos.kind[c | type_bishop]);
    const int knights = count_squares(pos.kind[c | type_knight]);
    const int weak_king = fast::king_square(pos, weak),
              strong_king = fast::king_square(pos, strong);
    if (weak_king < 0 || strong_king < 0) return false;
    const bool mating = queens || rooks || bishops >= 2 || (bishops && knights) || knights >= 3;
    if (!mating) {
        *score = 0;
        return true;
    }
    const int closeness = (7 - distance(weak_king, strong_king)) * 10;
    int s = material_eg + bare_king_win + closeness;
    if (bishops == 1 && knights == 1 && !queens && !rooks) {
        // Only the corners of the bishop's square colour: the weak king is driven there,
        // and the knight comes close to help.
        const int bishop = std::countr_zero(pos.kind[c | type_bishop]);
        const int knight = std::countr_zero(pos.kind[c | type_knight]);
        const bool light = (((bishop >> 3) + (bishop & 7)) & 1) == 0; // a8 is light
        const int corner_a = light ? 0 : 7, corner_b = light ? 63 : 56;
        s += (14 - std::min(manhattan(weak_king, corner_a), manhattan(weak_king, corner_b))) * 25 +
             (7 - distance(knight, weak_king)) * 4;
    } else {
        s += (6 - centrality(weak_king)) * 20;
    }
    *score = s;
    return true;
}

} // namespace

eval_weights initial_eval_weights() {
    return make_initial_weights();
}

int non_pawn_material(const position &pos, int side) {
    const uint8_t c = side ? black_bit : 0;
    const eval_weights &w = default_eval_weights();
    return count_squares(pos.kind[c | type_knight]) * w.piece_value[mg][ep_knight] +
           count_squares(pos.kind[c | type_bishop]) * w.piece_value[mg][ep_bishop] +
           count_squares(pos.kind[c | type_rook]) * w.piece_value[mg][ep_rook] +
           count_squares(pos.kind[c | type_queen]) * w.piece_value[mg][ep_queen];
}

int evaluate(const position &pos, const eval_weights &w) {
    side_totals totals[2];
    int phase = 0;
    int material_eg[2] = {0, 0};
    int npm[2] = {0, 0};
    for (bitboard pieces = fast::occupied_squares(pos); pieces;) {
        const int sq = pop_lowest(pieces);
        const uint8_t tile = pos.tiles[sq];
        const int side = (tile >> 3) & 1;
        const int p = piece_of_type(tile & type_mask);
        const int rel = side ? sq ^ 56 : sq;
        totals[side].mg += w.piece_value[mg][p] + w.psqt[mg][p][rel];
        totals[side].eg += w.piece_value[eg][p] + w.psqt[eg][p][rel];
        material_eg[side] += w.piece_value[eg][p];
        if (p != ep_pawn && p != ep_king) npm[side] += w.piece_value[mg][p];
        phase += phase_weight[p];
    }
    int king_units[2] = {0, 0};
    for (int side = 0; side < 2; side++) {
        evaluate_pawns(pos, w, side, &totals[side]);
        evaluate_pieces(pos, w, side, &totals[side], &king_units[side]);
    }
    for (int side = 0; side < 2; side++) {
        // Attacks on the king grow faster than their count: defenders cover one or two.
        const int u = king_units[side ^ 1];
        totals[side].mg -= std::min(u * u / 4, 600);
    }

    const int white = pos.side == 0 ? 1 : -1;
    for (int weak = 0; weak < 2; weak++) {
        int s = 0;
        if (bare_king_ending(pos, weak, material_eg[weak ^ 1], &s))
            return (weak == 0 ? -s : s) * white;
    }

    phase = std::min(phase, full_phase);
    const int mg_score = totals[0].mg - totals[1].mg;
    const int eg_score = totals[0].eg - totals[1].eg;
    int score = (mg_score * phase + eg_score * (full_phase - phase)) / full_phase;
    // Without pawns, a lead of a minor piece or less does not win.
    const int ahead = score > 0 ? 0 : 1;
    if (!fast::pawns_of(pos, ahead) && npm[ahead] - npm[ahead ^ 1] <= w.piece_value[mg][ep_bishop])
        score /= drawish_scale;
    return score * white + w.tempo;
}
