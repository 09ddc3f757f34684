// What the self-check filter needs to know about one side in one position, found once
// instead of once per destination: whether its king is in check, by what, and which of its
// pieces are pinned to the king. Destinations generated through it are the same, in the
// same order, as those of legal_moves with that king. The context points at the position
// (and at its sets, which may be its own): it is prepared where it is used, not copied.
#pragma once

#include "rules/board.h"
#include "rules/fast/bitboards.h"

struct move_context {
    const struct board *brd;
    coord king;
    uint8_t colour; // colour bit of the side: 0 or 8
    bool in_check;
    uint64_t pinned;        // one bit per square (row*8 + col) of a piece pinned to the king
    uint64_t check_mask;    // where a piece other than the king may go: the checker and the
                            // squares between it and the king; all squares out of check
    const board_sets *sets; // the pieces of brd
    board_sets own_sets;    // when the caller had none at hand
};

void prepare_move_context(move_context *ctx, const struct board *brd, coord king);
// The same with the position's sets already at hand; they must outlive the context.
void prepare_move_context(move_context *ctx, const struct board *brd, const board_sets &sets,
                          coord king);

// Where a piece of the context's side on `from` (not the king) may go without exposing its
// king, taking en passant aside: within the check mask, and along the line of a pin.
inline uint64_t allowed_for(const move_context &ctx, int from) {
    if (!((ctx.pinned >> from) & 1)) return ctx.check_mask;
    return ctx.check_mask & bitboards::tables.line[bitboards::square_of(ctx.king)][from];
}

// Does moving the piece of the context's side on `from` (not the king) to `to` keep the
// king safe? Taking en passant is tested by making the move.
bool keeps_king_safe_in(const move_context &ctx, int from, int to);

// The legal destinations of the piece on pc_coords, which belongs to the context's side.
uint8_t legal_moves_in(const move_context &ctx, coord pc_coords, destination_list *list);

// The number of legal destinations of all the side's pieces together, looking at the
// squares from `first_square` on (the pieces before it are known to have none).
uint32_t count_legal_moves(const move_context &ctx, int first_square = 0);

// The same, a pawn move to the last row counting once for each of the four pieces it may
// become (as move-tree counts do).
uint64_t count_legal_moves_with_ascensions(const move_context &ctx);

// Can any piece of the side move?
bool has_legal_move(const move_context &ctx);
