#include "game/game_end.h"
#include "game/messages.h"
#include "rules/board_queries.h"
#include "rules/position_rules.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int declare_draw_mask = 3; // one chance in four
constexpr const char *draw_result = "1/2-1/2";

[[noreturn]] void end_game(const char *message, const game_outcome &outcome, game_record *record) {
    if (record) record_end(record, outcome);
    show_dialog_nokey(message);
    std::exit(0);
}

void announce_mate_or_check(int code, uint8_t turn, game_record *record) {
    if (code == stale_stalemate) end_game("Stalemate.", {draw_result, "Stalemate"}, record);
    if (code == stale_checkmate) {
        char message[message_size];
        format_checkmate(message, turn);
        end_game(message, mate_outcome(turn), record);
    }
    if (code == stale_check) show_dialog_nokey("CHECK.");
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

void format_checkmate(char *message, uint8_t turn) {
    std::snprintf(message, message_size, "Checkmate. %s won.\n", turn ? "White" : "Black");
}

void check_move_stale(const game_state &game, coord king_pos, game_record *record) {
    const struct board *brd = &game.board;
    const uint8_t turn = game.game_status.turn;
    const int mate = check_stale(&game.game_status, brd, king_pos, 0);
    switch (mate) {
    case stale_check:
    case stale_stalemate:
    case stale_checkmate:
        announce_mate_or_check(mate, turn, record);
        break;
    case stale_repetition:
        if (game.turn_count >= repetition_counts_from)
            end_game("Draw: Third repetition.", {draw_result, "Draw by threefold repetition"},
                     record);
        break;
    case stale_over_50:
    case stale_over_75:
        // The move counter hides check, mate and stalemate from the position test; a game
        // that is over must still end, so they are looked at here before the draw rules.
        announce_mate_or_check(check_and_mobility(brd, king_pos), turn, record);
        if (mate == stale_over_75 && (std::rand() & declare_draw_mask) == 0) {
            char message[message_size];
            std::snprintf(message, sizeof message,
                          "%u moves without pawn move or capture - declaring a draw.\n",
                          game.game_status.moves_pawn_capture);
            end_game(message,
                     {draw_result, "Draw declared after " +
                                       std::to_string(game.game_status.moves_pawn_capture) +
                                       " half-moves without pawn move or capture"},
                     record);
        }
        break;
    default:
        break;
    }
    if (only_kings_left(brd))
        end_game("Draw: Not enough pieces on the board to continue.",
                 {draw_result, "Draw: only the two kings are left"}, record);
}
