#include "ai/ai.h"
#include "game/board_printout.h"
#include "game/game_end.h"
#include "game/move_entry.h"
#include "game/output_check.h"
#include "game/startup.h"
#include "rules/live_game.h"
#include "rules/pieces.h"

#include <cstdio>

constexpr unsigned nothing_selected = static_cast<unsigned>(-1);

void game() {
    for (;;) {
        check_output(); // a game whose output is lost stops here, not at its end
        turn_count++;
        draw_board(nullptr, 0, nothing_selected, nothing_selected);
        const coord king_pos = find_king(&board, game_status.turn);
        check_move_stale(&board, king_pos, game_status.turn);
        const bool computer = game_status.turn ? game_status.black_ai : game_status.white_ai;
        std::printf(game_status.turn ? "%u: Black's turn.\n" : "%u: White's turn.\n", turn_count);
        if (computer)
            do_ai_move(king_pos);
        else
            get_move(king_pos);
        game_status.turn = !game_status.turn;
    }
}
