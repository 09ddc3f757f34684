// The standard (FIDE) rules for the end of a game: mate and stalemate, dead positions,
// repetitions over the whole game and the move counter, with the draws that end the game by
// themselves apart from those a player may claim.
#pragma once

#include "rules/board.h"
#include "rules/position_key.h"

#include <cstdint>

// Repetitions of one position, and half-moves without a pawn move or capture, from which a
// draw may be claimed and from which the game ends by itself.
constexpr size_t repetitions_claimable = 3;
constexpr size_t repetitions_ending = 5;
constexpr uint32_t halfmoves_claimable = 100;
constexpr uint32_t halfmoves_ending = 150;

enum class fide_end : uint8_t {
    none,
    checkmate, // the side to move is mated
    stalemate,
    dead_position,
    fivefold_repetition,
    seventy_five_moves,
};

struct fide_judgement {
    fide_end end;
    bool in_check;    // the side to move is in check
    bool threefold;   // a draw may be claimed: the position stands here the third time or more
    bool fifty_moves; // a draw may be claimed: 100 half-moves without pawn move or capture
};

// Judges the live position `brd` with `side_to_move` (0 White, 1 Black), `halfmoves` since
// the last pawn move or capture, and the game's history, which already holds this position.
// A mate comes first (it ends the game even on the 150th half-move), then stalemate, the dead
// position, the fivefold repetition and the 75-move rule. The claims are reported whether or
// not the game has ended.
fide_judgement judge_fide(const struct board &brd, uint8_t side_to_move, uint32_t halfmoves,
                          const position_history &history);

// Whether the side to move may claim a draw now.
bool draw_claimable(const fide_judgement &judgement);

// The message of a draw that ends the game by itself or is claimed, e.g. "Draw: fivefold
// repetition."; null for an end that is no draw by these rules (none, mate, stalemate:
// the game has its own words for those).
const char *fide_draw_message(fide_end end);
const char *fide_claim_message(const fide_judgement &judgement);
