#include "ai/classic/position_verdict.h"
#include "rules/position_rules.h"

void judge_mobility(verdict *v, const struct board *temp, const board_sets &sets, coord king_pos) {
    prepare_move_context(&v->ctx, temp, sets, king_pos);
    v->prepared = true;
    v->stale = check_and_mobility_in(v->ctx);
}

void judge(verdict *v, const game_status *status, const struct board *temp, const board_sets &sets,
           coord king_pos, uint8_t depth) {
    v->prepared = false;
    v->stale = draw_rule_code(status, temp, depth);
    if (v->stale == stale_nothing) judge_mobility(v, temp, sets, king_pos);
}
