#include "display/board_view.h"
#include "game/board_printout.h"
#include "game/commands.h"
#include "game/computer_turn.h"
#include "game/game_end.h"
#include "game/messages.h"
#include "game/move_entry.h"
#include "game/output_check.h"
#include "game/startup.h"
#include "game/take_back.h"
#include "game/view.h"
#include "rules/board_queries.h"

#include <cstdio>

constexpr unsigned nothing_selected = static_cast<unsigned>(-1);

game_ending play_game(game_state *live, const game_options &options, game_record *record,
                      turn_history *turns, search_context *search) {
    tile_cursor cursor;
    const command_context commands{&options.ai, record};
    for (;;) {
        // A game whose output is lost stops here, not at its end.
        if (!check_output()) return interrupted_game(interruption::lost_output);
        turns->push_back({*live, record->moves.size()});
        const game_status &status = live->game_status;
        draw_board(live->board, nullptr, 0, nothing_selected, nothing_selected);
        const coord king_pos = find_king(&live->board, status.turn);
        if (auto end = check_move_stale(*live, king_pos, &search->random)) return *end;
        const bool computer = status.turn ? status.black_ai : status.white_ai;
        std::printf(status.turn ? "%u: Black's turn.\n" : "%u: White's turn.\n", live->turn_count);
        const game_state before = *live;
        san_move played;
        if (computer) {
            const computer_move m = do_ai_move(search, live, options.ai, options.commands);
            if (m.ending) return *m.ending;
            played = {m.decision.src, m.decision.dst, m.decision.ascend};
        } else {
            const person_move m =
                get_move(live, &cursor, king_pos, options.commands ? &commands : nullptr);
            if (m.ending) return *m.ending;
            if (m.take_back) {
                if (!take_back(turns, live, record)) {
                    if (const interruption cut = show_notice("There is no move to take back.");
                        cut != interruption::none)
                        return interrupted_game(cut);
                    *live = turns->back().game; // the same turn once more
                    turns->pop_back();
                }
                continue;
            }
            played = m.move;
        }
        record_move(record, before, played);
        view_move_played(before, played); // the side panel's move list
    }
}
