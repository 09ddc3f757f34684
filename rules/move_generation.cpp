// Move generation. Destinations come out in a fixed order (callers break ties by it):
// rook lines toward col 7, col 0, row 7, row 0; bishop diagonals (+1,+1), (-1,-1),
// (-1,+1), (+1,-1); queen = rook then bishop; knight jumps and king steps as listed in
// the square tables; pawn: double step, single step, capture toward col-1, toward col+1.
#include "rules/pieces.h"
#include "rules/square_tables.h"

#include <cstdlib>

using namespace square_tables;

namespace {

constexpr uint8_t castle_left_white[5] = {3, 0, 0, 0, 7};
constexpr uint8_t castle_left_black[5] = {11, 0, 0, 0, 15};
constexpr uint8_t castle_right_white[4] = {7, 0, 0, 3};
constexpr uint8_t castle_right_black[4] = {15, 0, 0, 11};
constexpr int unknown = -1;

struct generator {
    const board *brd;
    coord pc;
    uint8_t pc_tile;
    uint8_t colour; // colour bit of the moving piece
    destination_list *list;
    int in_check; // is the mover's king attacked before the move? computed on demand
};

bool aligned(coord a, coord b) {
    const int dr = a.row - b.row, dc = a.col - b.col;
    return dr == 0 || dc == 0 || dr == dc || dr == -dc;
}

// Plays the move on a copy as far as the attack test can see it (which squares hold which
// pieces) and asks whether the king square is then attacked.
bool king_safe_after(const generator &g, coord dst, coord king_pos) {
    board temp = *g.brd;
    const uint8_t p = g.pc_tile;
    uint8_t &to = temp.tiles[dst.row][dst.col];
    switch (p & type_mask) {
    case type_pawn:
        if (g.pc.col != dst.col && to == 0) {
            const int behind = (p & black_bit) ? dst.row - 1 : dst.row + 1;
            temp.tiles[behind][dst.col] = 0;
        }
        break;
    case type_king:
        if (std::abs(g.pc.col - dst.col) == 2) {
            uint8_t *row = temp.tiles[g.pc.row];
            if (dst.col < g.pc.col)
                row[3] = row[0], row[0] = 0;
            else
                row[5] = row[7], row[7] = 0;
        }
        break;
    default:
        break;
    }
    to = p;
    temp.tiles[g.pc.row][g.pc.col] = 0;
    return !square_attacked(&temp, king_pos, g.colour);
}

// The self-check filter: keep the destination only if the king is then safe.
void add_move_to_list(generator &g, const coord *king_pos, uint8_t col, uint8_t row) {
    const coord dst{row, col};
    g.list->squares[g.list->count] = dst;
    if (king_pos == nullptr) {
        g.list->count++;
        return;
    }
    // A piece other than the king that does not stand on a line with its king, and does
    // not take en passant, cannot uncover an attack: the king stays as safe as it was.
    const bool en_passant =
        (g.pc_tile & type_mask) == type_pawn && g.pc.col != col && g.brd->tiles[row][col] == 0;
    if ((g.pc_tile & type_mask) != type_king && !en_passant && !aligned(g.pc, *king_pos)) {
        if (g.in_check == unknown) g.in_check = square_attacked(g.brd, *king_pos, g.colour);
        if (!g.in_check) {
            g.list->count++;
            return;
        }
    }
    if (king_safe_after(g, dst, *king_pos)) g.list->count++;
}

bool candidate(const generator &g, uint8_t tile) {
    return tile == 0 || (tile & black_bit) != g.colour;
}

void legal_moves_sliding(generator &g, const coord *king_pos, int first_dir, int last_dir) {
    const int sq = g.pc.row * 8 + g.pc.col;
    const uint8_t *tiles = &g.brd->tiles[0][0];
    for (int d = first_dir; d < last_dir; d++) {
        const uint8_t *ray = rays.square[sq][d];
        for (int i = 0; i < rays.length[sq][d]; i++) {
            const uint8_t target = ray[i];
            const uint8_t tile = tiles[target];
            if (candidate(g, tile)) add_move_to_list(g, king_pos, target % 8, target / 8);
            if (tile != 0) break;
        }
    }
}

void legal_moves_rook(generator &g, const coord *king_pos) {
    legal_moves_sliding(g, king_pos, 0, first_diagonal);
}

void legal_moves_bishop(generator &g, const coord *king_pos) {
    legal_moves_sliding(g, king_pos, first_diagonal, directions);
}

void legal_moves_knight(generator &g, const coord *king_pos) {
    const int sq = g.pc.row * 8 + g.pc.col;
    const uint8_t *tiles = &g.brd->tiles[0][0];
    for (int i = 0; i < knight_jumps.count[sq]; i++) {
        const uint8_t target = knight_jumps.square[sq][i];
        if (candidate(g, tiles[target])) add_move_to_list(g, king_pos, target % 8, target / 8);
    }
}

bool row_matches(const uint8_t *row, const uint8_t *pattern, int length) {
    for (int i = 0; i < length; i++)
        if (row[i] != pattern[i]) return false;
    return true;
}

void legal_moves_king(generator &g) {
    const int sq = g.pc.row * 8 + g.pc.col;
    const uint8_t *tiles = &g.brd->tiles[0][0];
    for (int i = 0; i < king_steps.count[sq]; i++) {
        const uint8_t target = king_steps.square[sq][i];
        if (!candidate(g, tiles[target])) continue;
        const coord dst{static_cast<uint8_t>(target / 8), static_cast<uint8_t>(target % 8)};
        add_move_to_list(g, &dst, dst.col, dst.row);
    }

    if ((g.pc_tile & has_moved_flag) || square_attacked(g.brd, g.pc, g.colour)) return;

    const bool black = g.colour != 0;
    const uint8_t *back_row = g.brd->tiles[black ? 0 : 7];
    const uint8_t row = g.pc.row, col = g.pc.col;
    // The passed square must not be attacked; the destination is left to the filter.
    if (col >= 2 && row_matches(back_row, black ? castle_left_black : castle_left_white, 5) &&
        !square_attacked(g.brd, coord{row, static_cast<uint8_t>(col - 1)}, g.colour)) {
        const coord dst{row, static_cast<uint8_t>(col - 2)};
        add_move_to_list(g, &dst, dst.col, dst.row);
    }
    if (col + 2 < board_size &&
        row_matches(back_row + 4, black ? castle_right_black : castle_right_white, 4) &&
        !square_attacked(g.brd, coord{row, static_cast<uint8_t>(col + 1)}, g.colour)) {
        const coord dst{row, static_cast<uint8_t>(col + 2)};
        add_move_to_list(g, &dst, dst.col, dst.row);
    }
}

void legal_moves_pawn(generator &g, const coord *king_pos) {
    const int d = g.colour ? 1 : -1;
    const int row = g.pc.row, col = g.pc.col;
    const int ahead = row + d;
    if (ahead < 0 || ahead >= board_size) return; // never asked: promotion happens at once
    const auto &tiles = g.brd->tiles;
    const auto u8 = [](int v) { return static_cast<uint8_t>(v); };

    if ((g.pc_tile & type_mask) == type_pawn_unmoved) {
        const int two = row + 2 * d;
        if (two >= 0 && two < board_size && tiles[ahead][col] == 0 && tiles[two][col] == 0)
            add_move_to_list(g, king_pos, u8(col), u8(two));
    }
    if (tiles[ahead][col] == 0) add_move_to_list(g, king_pos, u8(col), u8(ahead));
    for (int dc = -1; dc <= 1; dc += 2) {
        const int c = col + dc;
        if (c < 0 || c >= board_size) continue;
        const uint8_t target = tiles[ahead][c];
        const uint8_t beside = tiles[row][c];
        const bool enemy_target = target != 0 && (target & black_bit) != g.colour;
        const bool en_passant =
            beside != 0 && (beside & black_bit) != g.colour && (beside & en_passant_flag);
        if (enemy_target || en_passant) add_move_to_list(g, king_pos, u8(c), u8(ahead));
    }
}

} // namespace

uint8_t legal_moves(const struct board *brd, coord pc_coords, destination_list *list,
                    const coord *king_pos) {
    const uint8_t tile = brd->tiles[pc_coords.row][pc_coords.col];
    generator g{brd, pc_coords, tile, static_cast<uint8_t>(tile & black_bit), list, unknown};
    list->count = 0;
    switch (tile & type_mask) {
    case type_pawn_unmoved:
    case type_pawn:
        legal_moves_pawn(g, king_pos);
        break;
    case type_rook:
        legal_moves_rook(g, king_pos);
        break;
    case type_knight:
        legal_moves_knight(g, king_pos);
        break;
    case type_bishop:
        legal_moves_bishop(g, king_pos);
        break;
    case type_queen:
        legal_moves_rook(g, king_pos);
        legal_moves_bishop(g, king_pos);
        break;
    case type_king:
        legal_moves_king(g);
        break;
    default:
        break; // an empty square has no destinations
    }
    return list->count;
}
