#include "ai/position_verdict.h"
#include "rules/live_game.h"
#include "rules/position_rules.h"

void judge_mobility(verdict *v, const struct board *temp, coord king_pos) {
    prepare_move_context(&v->ctx, temp, king_pos);
    v->prepared = true;
    v->first_mobile = first_mobile_square(v->ctx);
    const int check = v->ctx.in_check ? stale_check : stale_nothing;
    v->stale = v->first_mobile >= 0 ? check : check + stale_stalemate;
}

void judge(verdict *v, const struct board *temp, coord king_pos, uint8_t depth) {
    v->prepared = false;
    v->first_mobile = -1;
    if (depth <= deepest_repetition_test && repetition_found(temp, depth)) {
        v->stale = stale_repetition;
        return;
    }
    if (game_status.moves_pawn_capture > draw_declared_after) {
        v->stale = stale_over_75;
        return;
    }
    if (game_status.moves_pawn_capture > draw_claimable_after) {
        v->stale = stale_over_50;
        return;
    }
    judge_mobility(v, temp, king_pos);
}
