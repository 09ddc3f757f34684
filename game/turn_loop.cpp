#include "display/board_view.h"
#include "game/board_printout.h"
#include "game/commands.h"
#include "game/computer_turn.h"
#include "game/game_end.h"
#include "game/move_entry.h"
#include "game/output_check.h"
#include "game/startup.h"
#include "game/take_back.h"
#include "game/view.h"
#include "rules/board_queries.h"

#include <cstdio>

constexpr unsigned nothing_selected = static_cast<unsigned>(-1);

void game(game_state *live, const game_options &options, game_record *record, turn_history *turns) {
    tile_cursor cursor;
    const command_context commands{&options.ai, record};
    for (;;) {
        check_output(); // a game whose output is lost stops here, not at its end
        turns->push_back({*live, record->pgn.moves.size()});
        live->turn_count++;
        const game_status &status = live->game_status;
        draw_board(live->board, nullptr, 0, nothing_selected, nothing_selected);
        const coord king_pos = find_king(&live->board, status.turn);
        check_move_stale(*live, king_pos, record);
        const bool computer = status.turn ? status.black_ai : status.white_ai;
        std::printf(status.turn ? "%u: Black's turn.\n" : "%u: White's turn.\n", live->turn_count);
        const game_state before = *live;
        san_move played;
        if (computer) {
            const ai_decision decision = do_ai_move(live, options.ai, record, options.commands);
            played = {decision.src, decision.dst, decision.ascend};
        } else {
            const person_move m =
                get_move(live, &cursor, king_pos, record, options.commands ? &commands : nullptr);
            if (m.take_back) {
                if (!take_back(turns, live, record)) {
                    std::puts("There is no move to take back.");
                    *live = turns->back().game; // the same turn once more
                    turns->pop_back();
                }
                continue;
            }
            played = m.move;
        }
        record_move(record, before, played);
        view_move_played(before, played); // the side panel's move list
        live->game_status.turn = !live->game_status.turn;
    }
}
