#include "rules/fast/bitboards.h"

board_sets sets_of(const struct board &brd) {
    board_sets s{};
    const uint8_t *tiles = &brd.tiles[0][0];
    for (int sq = 0; sq < board_size * board_size; sq++) put_on_sets(&s, tiles[sq], sq);
    return s;
}
