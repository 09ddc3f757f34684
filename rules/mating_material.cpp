#include "rules/mating_material.h"
#include "rules/board_queries.h"

namespace {

struct material {
    uint8_t queens, rooks, bishops, knights, pawns;
};

material material_of(const struct board &brd, uint8_t side) {
    material m;
    piece_count(&brd, side, &m.queens, &m.rooks, &m.bishops, &m.knights, &m.pawns);
    return m;
}

bool only_minor_pieces(const material &m) {
    return m.queens == 0 && m.rooks == 0 && m.pawns == 0;
}

// Whether every bishop on the board stands on squares of one colour (true with none).
bool bishops_on_one_colour(const struct board &brd) {
    bool seen[2] = {false, false};
    for (int row = 0; row < board_size; row++)
        for (int col = 0; col < board_size; col++)
            if (piece_type(brd.tiles[row][col]) == type_bishop) seen[(row + col) % 2] = true;
    return !(seen[0] && seen[1]);
}

} // namespace

bool can_mate(const struct board &brd, uint8_t side) {
    const material m = material_of(brd, side);
    return !only_minor_pieces(m) || m.bishops + m.knights > 1;
}

bool could_ever_mate(const struct board &brd, uint8_t side) {
    const material own = material_of(brd, side);
    const material other = material_of(brd, side ? side_white : side_black);
    const int own_minors = own.bishops + own.knights;
    const bool bare_other = only_minor_pieces(other) && other.bishops + other.knights == 0;
    if (only_minor_pieces(own) && (own_minors == 0 || (own_minors == 1 && bare_other)))
        return false;
    return !dead_position(brd);
}

bool dead_position(const struct board &brd) {
    const material white = material_of(brd, side_white);
    const material black = material_of(brd, side_black);
    if (!only_minor_pieces(white) || !only_minor_pieces(black)) return false;
    const int knights = white.knights + black.knights;
    const int bishops = white.bishops + black.bishops;
    if (knights == 1 && bishops == 0) return true; // king and knight against king
    return knights == 0 && bishops_on_one_colour(brd);
}
