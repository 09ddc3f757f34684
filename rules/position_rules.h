// The position history and the position test shared by the turn loop and the search.
#pragma once

#include "rules/board.h"
#include "rules/game_state.h"
#include "rules/move_context.h"

// Result codes of check_stale.
constexpr int stale_nothing = 0;
constexpr int stale_check = 1;
constexpr int stale_stalemate = 2;
constexpr int stale_checkmate = 3;
constexpr int stale_repetition = 4;
constexpr int stale_over_50 = 5;
constexpr int stale_over_75 = 6;

// `depth` selects the repetition rule: 0 for the live position, 1 and 2 for positions one
// and two half-moves into the search, anything above 2 for none.
constexpr uint8_t no_repetition_test = 255;
constexpr uint8_t deepest_repetition_test = 2;

// Half-moves without a pawn move or capture after which a draw may be claimed, and after
// which it is declared at random.
constexpr uint32_t draw_claimable_after = 50;
constexpr uint32_t draw_declared_after = 75;

// A repetition counts as a draw from this half-move (turn_count) on, in the game and in the
// search alike: before it the history cannot hold three occurrences of one position.
constexpr uint32_t repetition_counts_from = 4;

// Records the game's board and the side that just moved in the 16-slot history ring.
void log_move(game_state *game);

// Judges `brd` for the side whose king stands on king_pos, against the history and the
// half-move counter of `status`.
int check_stale(const game_status *status, const struct board *brd, coord king_pos, uint8_t depth);

// The repetition scan alone: does brd repeat the history often enough at this depth?
bool repetition_found(const game_status *status, const struct board *brd, uint8_t depth);

// The repetition and move-counter rules alone: 4, 5 or 6, or 0 when none applies.
int draw_rule_code(const game_status *status, const struct board *brd, uint8_t depth);

// The check and mobility tests alone (no repetition, no move counter): 0..3.
int check_and_mobility(const struct board *brd, coord king_pos);

// The same from a prepared context.
int check_and_mobility_in(const move_context &ctx);
