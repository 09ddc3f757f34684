#include "game/computer_turn.h"
#include "display/sdlfuncs.h"
#include "game/game_end.h"
#include "game/messages.h"
#include "game/search_progress.h"
#include "game/view.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_piece.h"
#include "rules/position_rules.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char *ascends[] = {"rook", "knight", "bishop", "queen"};

void print_report_line(void *, const char *line) {
    progress_clear();
    std::puts(line);
}

void show_search_progress(void *, const search_progress &p) {
    pump_window_events();
    progress_show(p.pass, p.depth, p.rated, p.to_rate);
    view_search_progress(p); // the side panel's "Thinking..."
}

// The move-count rule kept the turn-start test from seeing that the side to move has no
// move: the game ends as that test would have ended it.
[[noreturn]] void end_without_move(const game_state &live, game_record *record) {
    progress_clear();
    const uint8_t turn = live.game_status.turn;
    const coord king_pos = find_king(&live.board, turn);
    const bool mated = square_attacked(&live.board, king_pos, turn ? black_bit : 0);
    if (record)
        record_end(record, mated ? mate_outcome(turn) : game_outcome{"1/2-1/2", "Stalemate"});
    if (mated) {
        char message[message_size];
        format_checkmate(message, turn);
        std::puts(message);
    } else {
        std::puts("Stalemate.");
    }
    std::exit(0);
}

} // namespace

search_observer game_search_observer() {
    search_observer observer;
    observer.report = print_report_line;
    observer.progress = show_search_progress;
    return observer;
}

ai_decision do_ai_move(game_state *live, const ai_settings &settings, game_record *record,
                       bool announce_book) {
    progress_begin();
    const ai_decision decision = choose_ai_move(*live, settings, game_search_observer());
    live->opening = decision.opening;
    if (decision.outcome == ai_outcome::no_move) end_without_move(*live, record);
    if (decision.outcome == ai_outcome::book_move && announce_book)
        std::printf("%u: Moving %c%c to %c%c (opening book)\n", live->turn_count,
                    'a' + decision.src.col, '8' - decision.src.row, 'a' + decision.dst.col,
                    '8' - decision.dst.row);
    if (play_move(live, decision.src, decision.dst)) {
        ascend_piece(&live->board, decision.dst, decision.ascend);
        progress_clear();
        std::printf("Ascended to %s\n", ascends[decision.ascend - type_rook]);
    }
    log_move(live);
    return decision;
}
