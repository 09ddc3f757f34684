#include "rules/fast/exchange.h"

namespace fast {

using namespace bitboards;

bool exchange_at_least(const position &pos, move16 m, int threshold) {
    const int from = move_from(m), to = move_to(m);
    const uint8_t mover = pos.tiles[from];
    int gain = exchange_value[pos.tiles[to] & type_mask];
    bitboard occ = occupied_squares(pos) ^ bit(from);
    if ((mover & type_mask) == type_pawn && (from & 7) != (to & 7) && !pos.tiles[to]) {
        const int beside = (from & ~7) | (to & 7);
        gain = exchange_value[type_pawn];
        occ ^= bit(beside);
    }
    if (const int ascend = move_ascend(m))
        gain += exchange_value[ascend] - exchange_value[type_pawn];

    // The swap: `balance` is what the side that made the capture has won if the opponent
    // stops now; each recapture risks the piece standing on the square.
    int balance = gain - threshold;
    if (balance < 0) return false;
    int at_risk =
        move_ascend(m) ? exchange_value[move_ascend(m)] : exchange_value[mover & type_mask];
    balance -= at_risk;
    if (balance >= 0) return true;

    const bitboard *k = pos.kind;
    const bitboard diagonal =
        k[type_bishop] | k[type_queen] | k[black_bit | type_bishop] | k[black_bit | type_queen];
    const bitboard straight =
        k[type_rook] | k[type_queen] | k[black_bit | type_rook] | k[black_bit | type_queen];
    bitboard attackers = attackers_of(pos, to, occ) & occ;
    const int mover_side = (mover >> 3) & 1;
    int side = mover_side ^ 1;
    constexpr int order[] = {type_pawn_unmoved, type_pawn,  type_knight, type_bishop,
                             type_rook,         type_queen, type_king};
    for (;;) {
        const bitboard mine = attackers & pos.colour[side];
        if (!mine) break;
        // The least valuable attacker takes.
        int type = type_king;
        bitboard piece = 0;
        const uint8_t c = side ? black_bit : 0;
        for (int t : order) {
            piece = mine & k[c | t];
            if (piece) {
                type = t;
                break;
            }
        }
        occ ^= piece & (~piece + 1);
        // Sliders behind the piece that took join in.
        if (type == type_pawn || type == type_pawn_unmoved || type == type_bishop ||
            type == type_queen)
            attackers |= bishop_attacks(to, occ) & diagonal;
        if (type == type_rook || type == type_queen) attackers |= rook_attacks(to, occ) & straight;
        attackers &= occ;
        side ^= 1;
        balance = -balance - 1 - exchange_value[type];
        if (balance >= 0) {
            // A king may not take into a square the other side still attacks.
            if (type == type_king && (attackers & pos.colour[side])) side ^= 1;
            break;
        }
    }
    // `side` is the one that ran out of good captures: it has lost the exchange.
    return mover_side != side;
}

} // namespace fast
