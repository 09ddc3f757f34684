// The position test of the side to reply after a searched move. It answers as check_stale
// does, and keeps what it learnt (check, pins) for the reply scan, which then need not find
// it again.
#pragma once

#include "rules/board.h"
#include "rules/fast/bitboards.h"
#include "rules/move_context.h"

struct verdict {
    int stale;
    bool prepared; // ctx is filled
    move_context ctx;
};

// Fills v->stale with check_stale(status, temp, king_pos, depth)'s code.
void judge(verdict *v, const game_status *status, const struct board *temp, const board_sets &sets,
           coord king_pos, uint8_t depth);

// The check and mobility part alone; also prepares the context for the reply scan.
void judge_mobility(verdict *v, const struct board *temp, const board_sets &sets, coord king_pos);
