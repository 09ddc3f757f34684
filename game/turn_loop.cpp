#include "display/board_view.h"
#include "game/board_printout.h"
#include "game/computer_turn.h"
#include "game/game_end.h"
#include "game/move_entry.h"
#include "game/startup.h"
#include "game/view.h"
#include "rules/board_queries.h"

#include <cstdio>

constexpr unsigned nothing_selected = static_cast<unsigned>(-1);

void game(game_state *live, const ai_settings &settings, game_record *record) {
    tile_cursor cursor;
    for (;;) {
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
            const ai_decision decision = do_ai_move(live, settings, record);
            played = {decision.src, decision.dst, decision.ascend};
        } else {
            played = get_move(live, &cursor, king_pos, record);
        }
        record_move(record, before, played);
        view_move_played(before, played); // the side panel's move list
        live->game_status.turn = !live->game_status.turn;
    }
}
