#include "game/tui/tui_computer.h"
#include "game/game_end.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/time/move_budget.h"

namespace {

// Taken off the classic player's share of its clock, as the text game does.
constexpr int64_t computer_overhead_ms = 10;

void note_iteration(void *context, const strong_iteration &iteration) {
    auto *job = static_cast<tui_computer_job *>(context);
    player_thinking t;
    t.depth = iteration.depth;
    t.seldepth = iteration.seldepth;
    t.has_score = true;
    t.cp = iteration.score.cp;
    t.mate_in = iteration.score.mate_in;
    t.nodes = iteration.nodes;
    t.time_ms = iteration.time_ms;
    for (int i = 0; i < iteration.pv.length; i++) {
        const strong_move &m = iteration.pv.moves[i];
        t.pv.push_back({m.src, m.dst, m.ascend});
    }
    const std::lock_guard<std::mutex> guard(job->lock);
    job->thinking = std::move(t);
    job->has_thinking = true;
}

// The side to move has no legal move: mate or stalemate, as the text game ends it.
game_ending no_move_ending(const game_state &live) {
    const uint8_t turn = live.game_status.turn;
    const coord king_pos = find_king(&live.board, turn);
    if (square_attacked(&live.board, king_pos, turn ? black_bit : 0))
        return finished_game(mate_outcome(turn), checkmate_message(turn), false);
    return finished_game({"1/2-1/2", "Stalemate"}, "Stalemate.", false);
}

computer_move strong_move(tui_computer_job *job, strong_memory *memory, game_state *live,
                          const strong_settings &settings) {
    strong_observer observer;
    observer.context = job;
    observer.iteration_done = note_iteration;
    observer.stop = &job->stop;
    const strong_decision d = choose_strong_move(*live, settings, observer, memory);
    computer_move result;
    if (d.outcome == strong_outcome::no_move) {
        result.ending = no_move_ending(*live);
        return result;
    }
    const uint8_t ascend =
        reaches_last_row(live->board.tiles[d.move.src.row][d.move.src.col], d.move.dst)
            ? (d.move.ascend ? d.move.ascend : type_queen)
            : 0;
    result.decision.outcome = ai_outcome::move;
    result.decision.src = d.move.src;
    result.decision.dst = d.move.dst;
    result.decision.ascend = ascend;
    play_half_move(live, d.move.src, d.move.dst, ascend);
    return result;
}

void think(tui_computer_job *job, game_state *live, const game_options *options,
           const game_record *record, computer_players players, const game_timing *timing) {
    const uint8_t mover = live->game_status.turn;
    engine_client *engine = players.engines ? players.engines->side[mover].get() : nullptr;
    if (engine) {
        job->result = do_engine_move(engine, live, *record, *options, *timing);
    } else if (players.strong) {
        job->result =
            strong_move(job, players.strong, live,
                        strong_settings_for(*options, timing->clocks ? &timing->clock : nullptr,
                                            mover, live->turn_count));
    } else {
        move_budget budget{};
        if (timing->clocks)
            budget = budget_for_move(time_left(timing->clock, mover, steady_now_ms()),
                                     timing->clock.control[mover].increment_ms, 0,
                                     computer_overhead_ms, classic_clock_figures);
        job->result = do_ai_move(players.classic, live, options->ai, options->commands,
                                 timing->clocks ? &budget : nullptr);
    }
    job->done.store(true);
}

} // namespace

void start_computer_move(tui_computer_job *job, game_state *live, const game_options &options,
                         const game_record &record, const computer_players &players,
                         const game_timing &timing) {
    job->done.store(false);
    job->stop.store(false);
    job->has_thinking = false;
    job->result = {};
    job->thread = std::thread(think, job, live, &options, &record, players, &timing);
}

void finish_computer_move(tui_computer_job *job) {
    if (job->thread.joinable()) job->thread.join();
}
