#include "game/computer_turn.h"
#include "display/sdlfuncs.h"
#include "game/game_end.h"
#include "game/search_progress.h"
#include "game/settings.h"
#include "game/view.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/notation.h"

#include <cstdio>

namespace {

constexpr const char *ascends[] = {"rook", "knight", "bishop", "queen"};

void print_report_line(void *, const char *line) {
    // A closed window ends the game where it stands: nothing of the search is told.
    if (window_closed()) return;
    progress_clear();
    std::puts(line);
}

void show_search_progress(void *context, const search_progress &p) {
    if (!pump_window_events()) {
        if (auto *stop = static_cast<std::atomic<bool> *>(context)) stop->store(true);
        return;
    }
    progress_show(p.pass, p.depth, p.rated, p.to_rate);
    view_search_progress(p); // the side panel's "Thinking..."
}

// The move-count rule kept the turn-start test from seeing that the side to move has no
// move: the game ends as that test would have ended it.
game_ending end_without_move(const game_state &live) {
    progress_clear();
    const uint8_t turn = live.game_status.turn;
    const coord king_pos = find_king(&live.board, turn);
    const bool mated = square_attacked(&live.board, king_pos, turn ? black_bit : 0);
    if (mated) return finished_game(mate_outcome(turn), checkmate_message(turn), false);
    return finished_game({"1/2-1/2", "Stalemate"}, "Stalemate.", false);
}

} // namespace

search_observer game_search_observer(std::atomic<bool> *stop) {
    search_observer observer;
    observer.context = stop;
    observer.report = print_report_line;
    observer.progress = show_search_progress;
    observer.stop = stop;
    return observer;
}

computer_move do_ai_move(search_context *search, game_state *live, const ai_settings &settings,
                         bool announce_book) {
    progress_begin();
    // Only a window can be closed during the search; without one the search never stops.
    std::atomic<bool> stop{false};
    computer_move result;
    const ai_decision decision =
        choose_ai_move(search, *live, settings, game_search_observer(graphics ? &stop : nullptr));
    if (window_closed()) {
        progress_clear();
        result.ending = interrupted_game(interruption::window_closed);
        return result;
    }
    result.decision = decision;
    live->opening = decision.opening;
    if (decision.outcome == ai_outcome::no_move) {
        result.ending = end_without_move(*live);
        return result;
    }
    if (decision.outcome == ai_outcome::book_move && announce_book)
        std::printf("%u: Moving %s to %s (opening book)\n", live->turn_count,
                    square_name(decision.src).c_str(), square_name(decision.dst).c_str());
    if (const uint8_t became = play_half_move(live, decision.src, decision.dst, decision.ascend)) {
        progress_clear();
        std::printf("Ascended to %s\n", ascends[became - type_rook]);
    }
    return result;
}
