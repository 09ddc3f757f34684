// Move generation. Destinations come out in a fixed order (callers break ties by it):
// rook lines toward col 7, col 0, row 7, row 0; bishop diagonals (+1,+1), (-1,-1),
// (-1,+1), (+1,-1); queen = rook then bishop; knight jumps and king steps as listed in
// the square tables; pawn: double step, single step, capture toward col-1, toward col+1.
// The squares a piece reaches are found as sets; the order comes from walking the sets
// along the directions in that order.
#include "rules/move_generation.h"
#include "rules/fast/bitboards.h"
#include "rules/fast/square_tables.h"
#include "rules/move_context.h"

#include <bit>

using namespace bitboards;

namespace {

constexpr uint8_t castle_left_white[5] = {3, 0, 0, 0, 7};
constexpr uint8_t castle_left_black[5] = {11, 0, 0, 0, 15};
constexpr uint8_t castle_right_white[4] = {7, 0, 0, 3};
constexpr uint8_t castle_right_black[4] = {15, 0, 0, 11};
constexpr bitboard all_squares = ~bitboard{0};
constexpr int no_king = -1;

// How destinations of pieces other than the king are kept.
enum class filter : uint8_t {
    none,    // every destination the movement allows (the attack test's substitution)
    context, // by the move context's check and pins
    full,    // by making the move and testing the king square (a king not on that square)
};

struct generator {
    const board *brd;
    const board_sets *sets;
    int from;
    uint8_t pc_tile;
    uint8_t colour; // colour bit of the moving piece
    filter mode;
    const move_context *ctx; // with filter::context, and for the king's check state
    int king_sq;             // the king the filter keeps safe, or no_king
    bitboard allowed;        // filter::context: where this piece keeps its king safe
    destination_list *list;
};

uint8_t enemy_of(uint8_t colour) {
    return colour ^ black_bit;
}

bitboard own_pieces(const board_sets &s, uint8_t colour) {
    return s.colour[colour ? 1 : 0];
}

// Plays the move as far as the attack test can see it (which squares hold which pieces)
// and asks whether the king is then attacked. The king square is the destination when the
// king itself moves.
bool safe_after(const board &brd, const board_sets &s, int from, int to, int king_sq) {
    const uint8_t *tiles = &brd.tiles[0][0];
    const uint8_t p = tiles[from];
    bitboard occ = occupied(s) & ~bit(from);
    bitboard gone = bit(to);
    const int from_col = from % 8, to_col = to % 8;
    switch (p & type_mask) {
    case type_pawn:
        if (from_col != to_col && tiles[to] == 0) {
            const int behind = (p & black_bit) ? to - 8 : to + 8;
            occ &= ~bit(behind);
            gone |= bit(behind);
        }
        break;
    case type_king:
        king_sq = to;
        if (from_col - to_col == 2 || to_col - from_col == 2) {
            const int row_start = from & ~7;
            const int rook_from = row_start + (to_col < from_col ? 0 : 7);
            const int rook_to = row_start + (to_col < from_col ? 3 : 5);
            occ = (occ & ~bit(rook_from)) | bit(rook_to);
            gone |= bit(rook_from) | bit(rook_to);
        }
        break;
    default:
        break;
    }
    if (king_sq == no_king) return true;
    return !attacked_by(s.kind, king_sq, enemy_of(p & black_bit), occ | bit(to), gone);
}

void push(generator &g, int to) {
    g.list->squares[g.list->count++] = coord_of(to);
}

// Keeps a destination of a piece other than the king (not taking en passant).
bool keeps_king_safe(const generator &g, int to) {
    switch (g.mode) {
    case filter::none:
        return true;
    case filter::context:
        return (g.allowed >> to) & 1;
    case filter::full:
        break;
    }
    return safe_after(*g.brd, *g.sets, g.from, to, g.king_sq);
}

// Emits the squares of `targets` that lie in directions first_dir..last_dir, in order.
void emit_along_rays(generator &g, bitboard targets, int first_dir, int last_dir) {
    if (g.mode == filter::context) targets &= g.allowed;
    for (int d = first_dir; d < last_dir; d++) {
        bitboard on_ray = targets & tables.ray[d][g.from];
        if (positive_direction[d]) {
            while (on_ray) {
                const int to = pop_lowest(on_ray);
                if (g.mode != filter::full || keeps_king_safe(g, to)) push(g, to);
            }
        } else {
            while (on_ray) {
                const int to = pop_highest(on_ray);
                if (g.mode != filter::full || keeps_king_safe(g, to)) push(g, to);
            }
        }
    }
}

void legal_moves_rook(generator &g, bitboard occ, bitboard own) {
    emit_along_rays(g, rook_attacks(g.from, occ) & ~own, 0, square_tables::first_diagonal);
}

void legal_moves_bishop(generator &g, bitboard occ, bitboard own) {
    emit_along_rays(g, bishop_attacks(g.from, occ) & ~own, square_tables::first_diagonal,
                    square_tables::directions);
}

void legal_moves_knight(generator &g, bitboard own) {
    using square_tables::knight_jumps;
    bitboard targets = tables.knight[g.from] & ~own;
    if (g.mode == filter::context) targets &= g.allowed;
    for (int i = 0; i < knight_jumps.count[g.from] && targets; i++) {
        const int to = knight_jumps.square[g.from][i];
        if (!((targets >> to) & 1)) continue;
        targets ^= bit(to);
        if (g.mode != filter::full || keeps_king_safe(g, to)) push(g, to);
    }
}

bool row_matches(const uint8_t *row, const uint8_t *pattern, int length) {
    for (int i = 0; i < length; i++)
        if (row[i] != pattern[i]) return false;
    return true;
}

// A king step is safe when the destination is not attacked with the king's old square
// empty; what stood on the destination is captured.
bool step_is_safe(const board_sets &s, int from, int to, uint8_t colour) {
    return !attacked_by(s.kind, to, enemy_of(colour), occupied(s) & ~bit(from));
}

void legal_moves_king(generator &g, bitboard own) {
    const board_sets &s = *g.sets;
    bitboard steps = tables.king[g.from] & ~own; // the table's order is the index order
    while (steps) {
        const int to = pop_lowest(steps);
        if (step_is_safe(s, g.from, to, g.colour)) push(g, to);
    }

    if (g.pc_tile & has_moved_flag) return;
    const uint8_t enemy = enemy_of(g.colour);
    const bitboard occ = occupied(s);
    if (g.ctx ? g.ctx->in_check : attacked_by(s.kind, g.from, enemy, occ)) return;

    const bool black = g.colour != 0;
    const uint8_t *back_row = g.brd->tiles[black ? 0 : 7];
    const int col = g.from % 8;
    // The passed square must not be attacked; the destination is tested with the move made.
    if (col >= 2 && row_matches(back_row, black ? castle_left_black : castle_left_white, 5) &&
        !attacked_by(s.kind, g.from - 1, enemy, occ) &&
        safe_after(*g.brd, s, g.from, g.from - 2, no_king))
        push(g, g.from - 2);
    if (col + 2 < board_size &&
        row_matches(back_row + 4, black ? castle_right_black : castle_right_white, 4) &&
        !attacked_by(s.kind, g.from + 1, enemy, occ) &&
        safe_after(*g.brd, s, g.from, g.from + 2, no_king))
        push(g, g.from + 2);
}

void legal_moves_pawn(generator &g) {
    const int d = g.colour ? 8 : -8;
    const int row = g.from / 8, col = g.from % 8;
    const int ahead_row = row + (g.colour ? 1 : -1);
    if (ahead_row < 0 || ahead_row >= board_size) return; // never asked: ascension is at once
    const uint8_t *tiles = &g.brd->tiles[0][0];
    const int ahead = g.from + d;

    if ((g.pc_tile & type_mask) == type_pawn_unmoved) {
        const int two_row = ahead_row + (g.colour ? 1 : -1);
        if (two_row >= 0 && two_row < board_size && tiles[ahead] == 0 && tiles[ahead + d] == 0 &&
            keeps_king_safe(g, ahead + d))
            push(g, ahead + d);
    }
    if (tiles[ahead] == 0 && keeps_king_safe(g, ahead)) push(g, ahead);
    for (int dc = -1; dc <= 1; dc += 2) {
        const int c = col + dc;
        if (c < 0 || c >= board_size) continue;
        const uint8_t target = tiles[ahead + dc];
        const uint8_t beside = tiles[g.from + dc];
        const bool enemy_target = target != 0 && (target & black_bit) != g.colour;
        const bool en_passant =
            beside != 0 && (beside & black_bit) != g.colour && (beside & en_passant_flag);
        if (!enemy_target && !en_passant) continue;
        // Taking en passant removes a second piece from the board: tested in full.
        const bool takes_en_passant = (g.pc_tile & type_mask) == type_pawn && target == 0;
        const bool safe = takes_en_passant && g.mode != filter::none
                              ? safe_after(*g.brd, *g.sets, g.from, ahead + dc, g.king_sq)
                              : keeps_king_safe(g, ahead + dc);
        if (safe) push(g, ahead + dc);
    }
}

uint8_t generate(generator &g) {
    g.list->count = 0;
    const board_sets &s = *g.sets;
    const bitboard occ = occupied(s);
    const bitboard own = own_pieces(s, g.colour);
    switch (g.pc_tile & type_mask) {
    case type_pawn_unmoved:
    case type_pawn:
        legal_moves_pawn(g);
        break;
    case type_rook:
        legal_moves_rook(g, occ, own);
        break;
    case type_knight:
        legal_moves_knight(g, own);
        break;
    case type_bishop:
        legal_moves_bishop(g, occ, own);
        break;
    case type_queen:
        legal_moves_rook(g, occ, own);
        legal_moves_bishop(g, occ, own);
        break;
    case type_king:
        legal_moves_king(g, own);
        break;
    default:
        break; // an empty square has no destinations
    }
    return g.list->count;
}

int king_square(const move_context &ctx) {
    return on_board(ctx.king.row, ctx.king.col) ? square_of(ctx.king) : no_king;
}

generator context_generator(const move_context &ctx, int from, destination_list *list) {
    const uint8_t tile = (&ctx.brd->tiles[0][0])[from];
    return generator{ctx.brd,
                     ctx.sets,
                     from,
                     tile,
                     static_cast<uint8_t>(tile & black_bit),
                     filter::context,
                     &ctx,
                     king_square(ctx),
                     allowed_for(ctx, from),
                     list};
}

} // namespace

uint8_t legal_moves(const struct board *brd, coord pc_coords, destination_list *list,
                    const coord *king_pos) {
    const uint8_t tile = brd->tiles[pc_coords.row][pc_coords.col];
    const uint8_t colour = tile & black_bit;
    const bool own_king =
        king_pos && on_board(king_pos->row, king_pos->col) &&
        (brd->tiles[king_pos->row][king_pos->col] & piece_mask) == (type_king | colour);
    if (own_king && (tile & type_mask) != type_king) {
        move_context ctx;
        prepare_move_context(&ctx, brd, *king_pos);
        return legal_moves_in(ctx, pc_coords, list);
    }
    const board_sets sets = sets_of(*brd);
    int king_sq = no_king;
    if (king_pos && on_board(king_pos->row, king_pos->col)) king_sq = square_of(*king_pos);
    generator g{brd,     &sets,   square_of(pc_coords),
                tile,    colour,  king_pos ? filter::full : filter::none,
                nullptr, king_sq, all_squares,
                list};
    return generate(g);
}

void prepare_move_context(move_context *ctx, const struct board *brd, coord king) {
    ctx->own_sets = sets_of(*brd);
    prepare_move_context(ctx, brd, ctx->own_sets, king);
}

void prepare_move_context(move_context *ctx, const struct board *brd, const board_sets &sets,
                          coord king) {
    ctx->brd = brd;
    ctx->king = king;
    ctx->sets = &sets;
    ctx->pinned = 0;
    ctx->check_mask = all_squares;
    ctx->in_check = false;
    if (!on_board(king.row, king.col)) { // no king: nothing to keep safe
        ctx->colour = 0;
        return;
    }
    const int ksq = square_of(king);
    const uint8_t colour = brd->tiles[king.row][king.col] & black_bit;
    const uint8_t enemy = enemy_of(colour);
    ctx->colour = colour;
    const bitboard occ = occupied(sets);
    const bitboard own = own_pieces(sets, colour);
    const bitboard *kind = sets.kind;

    bitboard checkers = (tables.pawn_attack[colour ? 1 : 0][ksq] &
                         (kind[enemy | type_pawn_unmoved] | kind[enemy | type_pawn])) |
                        (tables.knight[ksq] & kind[enemy | type_knight]) |
                        ((tables.king[ksq] | bit(ksq)) & kind[enemy | type_king]);
    // An enemy slider on a line of the king gives check when nothing stands between; one
    // own piece between pins that piece.
    const bitboard queens = kind[enemy | type_queen];
    bitboard snipers = (tables.rook_lines[ksq] & (kind[enemy | type_rook] | queens)) |
                       (tables.bishop_lines[ksq] & (kind[enemy | type_bishop] | queens));
    while (snipers) {
        const int s = pop_lowest(snipers);
        const bitboard between = tables.between[ksq][s] & occ;
        if (!between)
            checkers |= bit(s);
        else if (!(between & (between - 1)) && (between & own))
            ctx->pinned |= between;
    }
    if (checkers) {
        ctx->in_check = true;
        ctx->check_mask = (checkers & (checkers - 1))
                              ? 0
                              : checkers | tables.between[ksq][std::countr_zero(checkers)];
    }
}

uint8_t legal_moves_in(const move_context &ctx, coord pc_coords, destination_list *list) {
    generator g = context_generator(ctx, square_of(pc_coords), list);
    return generate(g);
}

bool keeps_king_safe_in(const move_context &ctx, int from, int to) {
    const uint8_t *tiles = &ctx.brd->tiles[0][0];
    const bool takes_en_passant =
        (tiles[from] & type_mask) == type_pawn && from % 8 != to % 8 && tiles[to] == 0;
    if (takes_en_passant) return safe_after(*ctx.brd, *ctx.sets, from, to, king_square(ctx));
    return (allowed_for(ctx, from) >> to) & 1;
}
