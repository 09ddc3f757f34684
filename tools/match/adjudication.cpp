#include "adjudication.h"
#include "rules/fide_draws.h"
#include "rules/notation/position_replay.h"

game_history new_history() {
    return history_from(new_game());
}

game_history history_from(const game_state &game) {
    game_history h;
    h.game = game;
    note_position(&h.positions, h.game.board, h.game.game_status.turn);
    return h;
}

bool play_in_history(game_history *h, const std::string &move, std::string *problem) {
    if (!play_coordinates(&h->game, move, promotion_case::small_only, problem)) return false;
    note_position(&h->positions, h->game.board, h->game.game_status.turn);
    h->plies++;
    return true;
}

game_end judge(const game_history &h, int max_plies) {
    const fide_judgement j = judge_fide(h.game.board, h.game.game_status.turn,
                                        h.game.game_status.moves_pawn_capture, h.positions);
    if (j.end == fide_end::checkmate) return game_end::checkmate;
    if (j.end == fide_end::stalemate) return game_end::stalemate;
    // The engines are taken to claim a draw as soon as they may: the fifth repetition and
    // the 75-move rule, which end a game by themselves, then never come.
    if (j.threefold) return game_end::repetition;
    if (j.fifty_moves) return game_end::fifty_moves;
    if (j.end == fide_end::dead_position) return game_end::dead_position;
    if (h.plies >= max_plies) return game_end::move_cap;
    return game_end::none;
}

const char *game_end_name(game_end end) {
    switch (end) {
    case game_end::checkmate:
        return "checkmate";
    case game_end::stalemate:
        return "stalemate";
    case game_end::repetition:
        return "threefold repetition";
    case game_end::fifty_moves:
        return "fifty-move rule";
    case game_end::dead_position:
        return "insufficient material";
    case game_end::move_cap:
        return "move cap";
    default:
        return "";
    }
}
