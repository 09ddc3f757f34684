#include "rules/fide_draws.h"
#include "rules/board_queries.h"
#include "rules/mating_material.h"
#include "rules/position_rules.h"

fide_judgement judge_fide(const struct board &brd, uint8_t side_to_move, uint32_t halfmoves,
                          const position_history &history) {
    fide_judgement j{fide_end::none, false, false, false};
    const size_t seen = occurrences(history, key_of(brd, side_to_move));
    j.threefold = seen >= repetitions_claimable;
    j.fifty_moves = halfmoves >= halfmoves_claimable;

    const int state = check_and_mobility(&brd, find_king(&brd, side_to_move));
    j.in_check = state == stale_check || state == stale_checkmate;
    if (state == stale_checkmate)
        j.end = fide_end::checkmate;
    else if (state == stale_stalemate)
        j.end = fide_end::stalemate;
    else if (dead_position(brd))
        j.end = fide_end::dead_position;
    else if (seen >= repetitions_ending)
        j.end = fide_end::fivefold_repetition;
    else if (halfmoves >= halfmoves_ending)
        j.end = fide_end::seventy_five_moves;
    return j;
}

bool draw_claimable(const fide_judgement &judgement) {
    return judgement.threefold || judgement.fifty_moves;
}

const char *fide_draw_message(fide_end end) {
    switch (end) {
    case fide_end::dead_position:
        return "Draw: Neither side can mate.";
    case fide_end::fivefold_repetition:
        return "Draw: Fifth repetition.";
    case fide_end::seventy_five_moves:
        return "Draw: 75 moves without pawn move or capture.";
    default:
        return nullptr;
    }
}

const char *fide_claim_message(const fide_judgement &judgement) {
    if (judgement.threefold) return "Draw claimed: Third repetition.";
    if (judgement.fifty_moves) return "Draw claimed: 50 moves without pawn move or capture.";
    return nullptr;
}
