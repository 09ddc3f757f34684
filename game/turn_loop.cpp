#include "display/board_view.h"
#include "game/game_end.h"
#include "game/input/commands.h"
#include "game/input/line_input.h"
#include "game/input/move_entry.h"
#include "game/running_game.h"
#include "game/startup.h"
#include "game/turns/computer_turn.h"
#include "game/turns/take_back.h"
#include "game/view/board_printout.h"
#include "game/view/messages.h"
#include "game/view/output_check.h"
#include "game/view/view.h"
#include "rules/board_queries.h"
#include "rules/time/move_budget.h"

#include <cstdio>

constexpr unsigned nothing_selected = static_cast<unsigned>(-1);

namespace {

// Taken off the computer's share of its clock for printing and playing the move.
constexpr int64_t computer_overhead_ms = 10;

// How long the computer may think on its clock: its share of the time left.
move_budget computer_budget(const game_timing &timing, uint8_t side) {
    const chess_clock &c = timing.clock;
    return budget_for_move(time_left(c, side, steady_now_ms()), c.control[side].increment_ms, 0,
                           computer_overhead_ms, classic_clock_figures);
}

} // namespace

game_ending play_game(running_game *run, game_state *live, const game_options &options,
                      game_record *record, turn_history *turns, const computer_players &players,
                      game_timing *timing) {
    search_context *search = players.classic;
    strong_memory *strong = players.strong;
    tile_cursor cursor;
    const command_context commands{&options.ai, record, &options, players.engines};
    person_turn turn_rules;
    if (timing->clocks) turn_rules.clock = &timing->clock;
    if (timing->fide) turn_rules.fide = &timing->positions;
    for (;;) {
        // A game whose output is lost stops here, not at its end.
        if (!check_output()) return interrupted_game(interruption::lost_output);
        turns->push_back({*live, record->moves.size()});
        const game_status &status = live->game_status;
        draw_board(run, live->board, nullptr, 0, nothing_selected, nothing_selected);
        const coord king_pos = find_king(&live->board, status.turn);
        if (auto end = timing->fide ? check_fide_end(run, *live, king_pos, timing->positions)
                                    : check_move_stale(run, *live, king_pos, &search->random))
            return *end;
        const uint8_t mover = status.turn;
        const bool computer = mover ? status.black_ai : status.white_ai;
        std::printf(mover ? "%u: Black's turn.\n" : "%u: White's turn.\n", live->turn_count);
        if (timing->clocks) start_clock(&timing->clock, mover, steady_now_ms());
        const game_state before = *live;
        san_move played;
        engine_client *engine = players.engines ? players.engines->side[mover].get() : nullptr;
        if (computer && engine) {
            const computer_move m = do_engine_move(run, engine, live, *record, options, *timing);
            if (m.ending) return *m.ending;
            played = {m.decision.src, m.decision.dst, m.decision.ascend};
        } else if (computer && strong) {
            const computer_move m = do_strong_move(
                run, strong, live,
                strong_settings_for(options, timing->clocks ? &timing->clock : nullptr, mover,
                                    live->turn_count));
            if (m.ending) return *m.ending;
            played = {m.decision.src, m.decision.dst, m.decision.ascend};
        } else if (computer) {
            move_budget budget{};
            if (timing->clocks) budget = computer_budget(*timing, mover);
            const computer_move m = do_ai_move(run, search, live, options.ai, options.commands,
                                               timing->clocks ? &budget : nullptr);
            if (m.ending) return *m.ending;
            played = {m.decision.src, m.decision.dst, m.decision.ascend};
        } else {
            if (timing->clocks)
                set_input_deadline(&run->input,
                                   steady_now_ms() + ms_until_flag(timing->clock, steady_now_ms()));
            const person_move m = get_move(run, live, &cursor, king_pos,
                                           options.commands ? &commands : nullptr, turn_rules);
            set_input_deadline(&run->input, no_deadline);
            if (m.ending && m.ending->cause == interruption::time_up)
                return flag_fall_ending(live->board, mover, timing->fide);
            if (m.ending) return *m.ending;
            if (m.take_back) {
                if (!take_back(turns, live, record)) {
                    if (const interruption cut = show_notice(run, "There is no move to take back.");
                        cut != interruption::none)
                        return interrupted_game(cut);
                    *live = turns->back().game; // the same turn once more
                    turns->pop_back();
                }
                // One position a half-move, and the start.
                if (timing->fide) timing->positions.keys.resize(1 + record->moves.size());
                continue;
            }
            played = m.move;
        }
        // A flag that fell before the move was complete loses the game: the move is not made.
        if (timing->clocks && !stop_clock(&timing->clock, steady_now_ms()))
            return flag_fall_ending(before.board, mover, timing->fide);
        record_move(record, before, played, clock_comment(*timing, mover));
        if (timing->fide) note_position(&timing->positions, live->board, live->game_status.turn);
        view_move_played(&run->view, before, played); // the side panel's move list
    }
}
