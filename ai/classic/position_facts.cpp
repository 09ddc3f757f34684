#include "ai/classic/position_facts.h"

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
