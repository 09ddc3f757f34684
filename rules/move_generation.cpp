// Move generation. Destinations come out in a fixed order (callers break ties by it):
// rook lines toward col 7, col 0, row 7, row 0; bishop diagonals (+1,+1), (-1,-1),
// (-1,+1), (+1,-1); queen = rook then bishop; knight jumps and king steps as listed in
// the square tables; pawn: double step, single step, capture toward col-1, toward col+1.
#include "rules/move_generation.h"
#include "rules/attack.h"
#include "rules/attack_parts.h"
#include "rules/move_context.h"
#include "rules/square_tables.h"

#include <cstdlib>

using namespace square_tables;

namespace {

constexpr uint8_t castle_left_white[5] = {3, 0, 0, 0, 7};
constexpr uint8_t castle_left_black[5] = {11, 0, 0, 0, 15};
constexpr uint8_t castle_right_white[4] = {7, 0, 0, 3};
constexpr uint8_t castle_right_black[4] = {15, 0, 0, 11};
struct generator {
    const board *brd;
    coord pc;
    uint8_t pc_tile;
    uint8_t colour; // colour bit of the moving piece
    destination_list *list;
    const move_context *ctx; // check and pins of the mover's side, or null until needed
    move_context own_ctx;    // found on the first destination when the caller had none
};

int sign(int v) {
    return (v > 0) - (v < 0);
}

// Is `dst` on the ray that leaves the king through `pc`?
bool on_pin_ray(coord king, coord pc, coord dst) {
    const int dr1 = pc.row - king.row, dc1 = pc.col - king.col;
    const int dr2 = dst.row - king.row, dc2 = dst.col - king.col;
    return dr1 * dc2 == dc1 * dr2 && sign(dr1) == sign(dr2) && sign(dc1) == sign(dc2);
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
    const bool king_moves = (g.pc_tile & type_mask) == type_king;
    const bool en_passant =
        (g.pc_tile & type_mask) == type_pawn && g.pc.col != col && g.brd->tiles[row][col] == 0;
    if (!g.ctx && !king_moves && on_board(king_pos->row, king_pos->col) &&
        (g.brd->tiles[king_pos->row][king_pos->col] & piece_mask) == (type_king | g.colour)) {
        prepare_move_context(&g.own_ctx, g.brd, *king_pos);
        g.ctx = &g.own_ctx;
    }
    // Out of check, a piece that is not pinned keeps the king safe wherever it goes; a
    // pinned one only along the line of the pin (up to and including the pinning piece).
    // Taking en passant removes a second piece from the board and is tested in full.
    if (g.ctx && !king_moves && !en_passant && !g.ctx->in_check) {
        if (!(g.ctx->pinned >> (g.pc.row * 8 + g.pc.col) & 1) || on_pin_ray(*king_pos, g.pc, dst))
            g.list->count++;
        return;
    }
    if (king_moves && std::abs(g.pc.col - dst.col) != 2) {
        if (!attacked_after_king_step(g.brd, g.pc, dst, g.colour)) g.list->count++;
        return;
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

    if (g.pc_tile & has_moved_flag) return;
    if (g.ctx ? g.ctx->in_check : square_attacked(g.brd, g.pc, g.colour)) return;

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

uint8_t generate(generator &g, const coord *king_pos) {
    g.list->count = 0;
    const uint8_t tile = g.pc_tile;
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
    return g.list->count;
}

} // namespace

uint8_t legal_moves(const struct board *brd, coord pc_coords, destination_list *list,
                    const coord *king_pos) {
    const uint8_t tile = brd->tiles[pc_coords.row][pc_coords.col];
    generator g{brd, pc_coords, tile, static_cast<uint8_t>(tile & black_bit), list, nullptr, {}};
    return generate(g, king_pos);
}

void prepare_move_context(move_context *ctx, const struct board *brd, coord king) {
    ctx->brd = brd;
    ctx->king = king;
    ctx->colour = brd->tiles[king.row][king.col] & black_bit;
    ctx->pinned = 0;
    bool slider_check = false;
    // One walk along each ray from the king finds both: an enemy slider as the first piece
    // gives check; an own piece followed by such a slider is pinned.
    const int sq = king.row * 8 + king.col;
    const uint8_t *tiles = &brd->tiles[0][0];
    for (int d = 0; d < directions; d++) {
        const uint8_t slider = d < first_diagonal ? type_rook : type_bishop;
        const uint8_t *ray = rays.square[sq][d];
        int own = -1;
        for (int i = 0; i < rays.length[sq][d]; i++) {
            const uint8_t tile = tiles[ray[i]];
            if (tile == 0) continue;
            const uint8_t type = tile & type_mask;
            const bool enemy_slider =
                (tile & black_bit) != ctx->colour && (type == slider || type == type_queen);
            if (own < 0) {
                if (enemy_slider) slider_check = true;
                if ((tile & black_bit) != ctx->colour) break;
                own = ray[i];
                continue;
            }
            if (enemy_slider) ctx->pinned |= uint64_t{1} << own;
            break;
        }
    }
    ctx->in_check = slider_check || attacked_by_steppers(brd, king, ctx->colour);
}

namespace {

constexpr int needs_generator = -1;

// Out of check, a piece that is not pinned may go wherever its movement allows, so its
// destinations can be counted without the filter; `enough` stops the count early. Kings,
// pinned pieces, pieces of a side in check and pawns that might take en passant answer
// needs_generator.
int unfiltered_count(const move_context &ctx, int sq, uint8_t tile, int enough) {
    const uint8_t type = tile & type_mask;
    if (ctx.in_check || type == type_king || ((ctx.pinned >> sq) & 1)) return needs_generator;
    const uint8_t *tiles = &ctx.brd->tiles[0][0];
    const auto enemy = [&](uint8_t t) { return t != 0 && (t & black_bit) != ctx.colour; };
    int n = 0;
    if (type == type_pawn_unmoved || type == type_pawn) {
        const int row = sq / 8, col = sq % 8;
        const int d = ctx.colour ? 1 : -1;
        const int ahead = row + d;
        if (ahead < 0 || ahead >= board_size) return 0;
        if (tiles[ahead * 8 + col] == 0) {
            n++;
            const int two = row + 2 * d;
            if (type == type_pawn_unmoved && two >= 0 && two < board_size &&
                tiles[two * 8 + col] == 0)
                n++;
        }
        for (int dc = -1; dc <= 1; dc += 2) {
            const int c = col + dc;
            if (c < 0 || c >= board_size) continue;
            if (enemy(tiles[ahead * 8 + c])) {
                n++;
            } else if (enemy(tiles[row * 8 + c]) && (tiles[row * 8 + c] & en_passant_flag)) {
                return needs_generator; // taking en passant may uncover the king
            }
        }
        return n;
    }
    if (type == type_knight) {
        for (int i = 0; i < knight_jumps.count[sq] && n < enough; i++) {
            const uint8_t t = tiles[knight_jumps.square[sq][i]];
            n += t == 0 || enemy(t);
        }
        return n;
    }
    const int first = type == type_bishop ? first_diagonal : 0;
    const int last = type == type_rook ? first_diagonal : directions;
    for (int d = first; d < last && n < enough; d++) {
        const uint8_t *ray = rays.square[sq][d];
        for (int i = 0; i < rays.length[sq][d]; i++) {
            const uint8_t t = tiles[ray[i]];
            if (t == 0) {
                n++;
                continue;
            }
            n += enemy(t);
            break;
        }
    }
    return n;
}

} // namespace

uint32_t count_legal_moves(const move_context &ctx, int first_square) {
    const uint8_t *tiles = &ctx.brd->tiles[0][0];
    destination_list list;
    uint32_t total = 0;
    for (int sq = first_square; sq < board_size * board_size; sq++) {
        const uint8_t tile = tiles[sq];
        if (tile == 0 || (tile & black_bit) != ctx.colour) continue;
        const int n = unfiltered_count(ctx, sq, tile, max_destinations);
        if (n != needs_generator) {
            total += static_cast<uint32_t>(n);
            continue;
        }
        const coord pc{static_cast<uint8_t>(sq / 8), static_cast<uint8_t>(sq % 8)};
        total += legal_moves_in(ctx, pc, &list);
    }
    return total;
}

int first_mobile_square(const move_context &ctx) {
    const uint8_t *tiles = &ctx.brd->tiles[0][0];
    destination_list list;
    for (int sq = 0; sq < board_size * board_size; sq++) {
        const uint8_t tile = tiles[sq];
        if (tile == 0 || (tile & black_bit) != ctx.colour) continue;
        int n = unfiltered_count(ctx, sq, tile, 1);
        if (n == needs_generator) {
            const coord pc{static_cast<uint8_t>(sq / 8), static_cast<uint8_t>(sq % 8)};
            n = legal_moves_in(ctx, pc, &list);
        }
        if (n > 0) return sq;
    }
    return -1;
}

uint8_t legal_moves_in(const move_context &ctx, coord pc_coords, destination_list *list) {
    const uint8_t tile = ctx.brd->tiles[pc_coords.row][pc_coords.col];
    generator g{ctx.brd, pc_coords, tile, static_cast<uint8_t>(tile & black_bit), list, &ctx, {}};
    return generate(g, &ctx.king);
}
