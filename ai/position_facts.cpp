#include "ai/position_facts.h"

uint8_t kind_index(uint8_t tile) {
    const uint8_t type = tile & type_mask;
    return static_cast<uint8_t>((tile & black_bit) |
                                (type == type_pawn_unmoved ? type_pawn : type));
}

position_facts facts_of(const struct board *brd) {
    position_facts f{};
    f.king[0] = f.king[1] = no_square;
    // Walking backwards leaves the first king of each colour in index order.
    for (int row = board_size - 1; row >= 0; row--)
        for (int col = board_size - 1; col >= 0; col--) {
            const uint8_t tile = brd->tiles[row][col];
            if (tile == 0) continue;
            f.count[kind_index(tile)]++;
            if ((tile & type_mask) == type_king)
                f.king[is_black(tile)] =
                    coord{static_cast<uint8_t>(row), static_cast<uint8_t>(col)};
        }
    return f;
}

material material_of(const position_facts &f, uint8_t side) {
    const uint8_t c = side ? black_bit : 0;
    return material{f.count[c | type_queen], f.count[c | type_rook], f.count[c | type_bishop],
                    f.count[c | type_knight], f.count[c | type_pawn]};
}

int8_t material_measure(const material &m) {
    return static_cast<int8_t>(2 * m.queens + m.rooks + (m.bishops + m.knights) / 2);
}
