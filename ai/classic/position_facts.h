// Piece counts and king squares of a searched position, carried from ply to ply.
#pragma once

#include "rules/board.h"

struct material {
    uint8_t queens, rooks, bishops, knights, pawns;
};

// What a node knows about its board without looking: the pieces of each kind and colour
// (indexed by colour bit | type, both pawn types counted under type 2) and both kings.
// Each ply updates it from the move instead of counting the board again.
constexpr int kind_slots = 16; // colour bit (8) + type (0..7)

struct position_facts {
    uint8_t count[kind_slots];
    coord king[2];
};

// The counting index of a tile: its colour bit and type, both pawn types as type 2.
inline uint8_t kind_index(uint8_t tile) {
    const uint8_t type = tile & type_mask;
    return static_cast<uint8_t>((tile & black_bit) |
                                (type == type_pawn_unmoved ? type_pawn : type));
}

// Counts the board; kings are the first of each colour in index order, as find_king finds.
position_facts facts_of(const struct board *brd);

inline material material_of(const position_facts &f, uint8_t side) {
    const uint8_t c = side ? black_bit : 0;
    return material{f.count[c | type_queen], f.count[c | type_rook], f.count[c | type_bishop],
                    f.count[c | type_knight], f.count[c | type_pawn]};
}

// Twice the queens plus the rooks plus half the minor pieces.
inline int8_t material_measure(const material &m) {
    return static_cast<int8_t>(2 * m.queens + m.rooks + (m.bishops + m.knights) / 2);
}
