#include "game/turn_loop.h"
#include "ai/classic/classic_player.h"
#include "display/board_view.h"
#include "game/game_end.h"
#include "game/input/commands.h"
#include "game/input/line_input.h"
#include "game/input/move_entry.h"
#include "game/running_game.h"
#include "game/turns/computer_turn.h"
#include "game/turns/engine_turn.h"
#include "game/turns/take_back.h"
#include "game/view/board_printout.h"
#include "game/view/messages.h"
#include "game/view/output_check.h"
#include "game/view/view.h"
#include "rules/board_queries.h"

#include <cstdio>

constexpr unsigned nothing_selected = static_cast<unsigned>(-1);

namespace {

// Taken off the classic player's share of its clock for printing and playing the move.
constexpr int64_t computer_overhead_ms = 10;

} // namespace

std::unique_ptr<player> player_for_side(const game_options &options,
                                        const computer_players &players, uint8_t side) {
    if (players.engines && players.engines->side[side])
        return new_engine_player(players.engines->side[side].get(), options.movetime_ms);
    if (players.strong) return new_strong_player(players.strong, game_strong_setup(options));
    classic_setup setup;
    setup.settings = options.ai;
    setup.overhead_ms = computer_overhead_ms;
    return new_classic_player(players.classic, setup);
}

game_ending play_game(running_game *run, game_state *live, const game_options &options,
                      game_record *record, turn_history *turns, const computer_players &players,
                      game_timing *timing) {
    search_context *search = players.classic;
    const std::unique_ptr<player> computer_of[2] = {player_for_side(options, players, 0),
                                                    player_for_side(options, players, 1)};
    tile_cursor cursor;
    const command_context commands{&options.ai, record, &options, players.engines, turns};
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
        if (computer) {
            const computer_move m = do_player_move(
                run, computer_of[mover].get(), live, moves_of_game(*turns, *record, *live),
                limits_of_game(*timing), options.commands, timing->clocks ? timing : nullptr);
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
