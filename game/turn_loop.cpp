#include "display/board_view.h"
#include "game/board_printout.h"
#include "game/computer_turn.h"
#include "game/game_end.h"
#include "game/move_entry.h"
#include "game/startup.h"
#include "rules/board_queries.h"

#include <cstdio>

constexpr unsigned nothing_selected = static_cast<unsigned>(-1);

void game(game_state *live, const ai_settings &settings) {
    tile_cursor cursor;
    for (;;) {
        live->turn_count++;
        const game_status &status = live->game_status;
        draw_board(live->board, nullptr, 0, nothing_selected, nothing_selected);
        const coord king_pos = find_king(&live->board, status.turn);
        check_move_stale(*live, king_pos);
        const bool computer = status.turn ? status.black_ai : status.white_ai;
        std::printf(status.turn ? "%u: Black's turn.\n" : "%u: White's turn.\n", live->turn_count);
        if (computer)
            do_ai_move(live, settings);
        else
            get_move(live, &cursor, king_pos);
        live->game_status.turn = !live->game_status.turn;
    }
}
