#include "game/game_end.h"
#include "game/view/messages.h"
#include "rules/board_queries.h"
#include "rules/fide_draws.h"
#include "rules/position_rules.h"
#include "rules/time/flag_fall.h"

#include <cstdio>

namespace {

constexpr int declare_draw_mask = 3; // one chance in four
constexpr const char *draw_result = "1/2-1/2";

game_ending ended(const char *message, const game_outcome &outcome) {
    return finished_game(outcome, message, true);
}

// Mate or stalemate end the game; check is shown and the game goes on.
std::optional<game_ending> announce_mate_or_check(running_game *run, int code, uint8_t turn,
                                                  bool announce_check) {
    if (code == stale_stalemate) return ended("Stalemate.", {draw_result, "Stalemate"});
    if (code == stale_checkmate)
        return finished_game(mate_outcome(turn), checkmate_message(turn), true);
    if (code == stale_check && announce_check)
        if (const interruption cut = show_dialog_nokey(run, "CHECK."); cut != interruption::none)
            return interrupted_game(cut);
    return std::nullopt;
}

bool only_kings_left(const struct board *brd) {
    for (uint8_t side = 0; side <= 1; side++) {
        uint8_t queens, rooks, bishops, knights, pawns;
        piece_count(brd, side, &queens, &rooks, &bishops, &knights, &pawns);
        if (queens || rooks || bishops || knights || pawns) return false;
    }
    return true;
}

} // namespace

game_outcome mate_outcome(uint8_t turn) {
    return turn ? game_outcome{"1-0", "White mates"} : game_outcome{"0-1", "Black mates"};
}

std::string checkmate_message(uint8_t turn) {
    return std::string("Checkmate. ") + (turn ? "White" : "Black") + " won.\n";
}

std::optional<game_ending> check_move_stale(running_game *run, const game_state &game,
                                            coord king_pos, random_numbers *random,
                                            bool announce_check) {
    const struct board *brd = &game.board;
    const uint8_t turn = game.game_status.turn;
    const int mate = check_stale(&game.game_status, brd, king_pos, 0);
    switch (mate) {
    case stale_check:
    case stale_stalemate:
    case stale_checkmate:
        if (auto end = announce_mate_or_check(run, mate, turn, announce_check)) return end;
        break;
    case stale_repetition:
        if (game.turn_count >= repetition_counts_from)
            return ended("Draw: Third repetition.", {draw_result, "Draw by threefold repetition"});
        break;
    case stale_over_50:
    case stale_over_75:
        // The move counter hides check, mate and stalemate from the position test; a game
        // that is over must still end, so they are looked at here before the draw rules.
        if (auto end = announce_mate_or_check(run, check_and_mobility(brd, king_pos), turn,
                                              announce_check))
            return end;
        if (mate == stale_over_75 && (next_random(random) & declare_draw_mask) == 0) {
            const uint32_t n = game.game_status.moves_pawn_capture;
            char message[message_size];
            std::snprintf(message, sizeof message,
                          "%u moves without pawn move or capture - declaring a draw.\n", n);
            return ended(message, {draw_result, "Draw declared after " + std::to_string(n) +
                                                    " half-moves without pawn move or capture"});
        }
        break;
    default:
        break;
    }
    if (only_kings_left(brd))
        return ended("Draw: Not enough pieces on the board to continue.",
                     {draw_result, "Draw: only the two kings are left"});
    return std::nullopt;
}

std::optional<game_ending> check_fide_end(running_game *run, const game_state &game, coord king_pos,
                                          const position_history &positions, bool announce_check) {
    (void)king_pos;
    const uint8_t turn = game.game_status.turn;
    const fide_judgement j =
        judge_fide(game.board, turn, game.game_status.moves_pawn_capture, positions);
    switch (j.end) {
    case fide_end::checkmate:
        return finished_game(mate_outcome(turn), checkmate_message(turn), true);
    case fide_end::stalemate:
        return ended("Stalemate.", {draw_result, "Stalemate"});
    case fide_end::none:
        break;
    default: {
        const std::string message = fide_draw_message(j.end);
        return ended(message.c_str(), {draw_result, message});
    }
    }
    if (j.in_check && announce_check)
        if (const interruption cut = show_dialog_nokey(run, "CHECK."); cut != interruption::none)
            return interrupted_game(cut);
    return std::nullopt;
}

game_ending flag_fall_ending(const struct board &brd, uint8_t flagged, bool fide) {
    const flag_verdict v = flag_fall_verdict(brd, flagged, fide);
    game_ending ending =
        finished_game({v.result, v.message, time_forfeit_termination}, v.message, false);
    ending.box_in_window = true;
    return ending;
}

game_ending resign_game(const game_state &game) {
    const bool black = game.game_status.turn != 0;
    return finished_game({black ? "1-0" : "0-1", black ? "Black resigns" : "White resigns"},
                         black ? "Black resigns. White won." : "White resigns. Black won.", false);
}
