#include "game/tui/tui_computer.h"

namespace {

void note_thinking(void *context, const player_thinking &t) {
    auto *job = static_cast<tui_computer_job *>(context);
    const std::lock_guard<std::mutex> guard(job->lock);
    job->thinking = t;
    job->has_thinking = true;
}

// The move as the text game makes it (its lines go to the held standard output), with the
// board watching the thinking and able to stop it.
void think(tui_computer_job *job, running_game *run, game_state *live, const game_options *options,
           const game_record *record, const turn_history *turns, computer_players players,
           const game_timing *timing) {
    const std::unique_ptr<player> computer =
        player_for_side(*options, players, live->game_status.turn);
    player_observer front;
    front.context = job;
    front.thinking = note_thinking;
    front.stop = &job->stop;
    job->result = do_player_move(run, computer.get(), live, moves_of_game(*turns, *record, *live),
                                 limits_of_game(*timing), options->commands,
                                 timing->clocks ? timing : nullptr, &front);
    job->done.store(true);
}

} // namespace

void start_computer_move(tui_computer_job *job, running_game *run, game_state *live,
                         const game_options &options, const game_record &record,
                         const turn_history &turns, const computer_players &players,
                         const game_timing &timing) {
    job->done.store(false);
    job->stop.store(false);
    job->has_thinking = false;
    job->result = {};
    job->thread = std::thread(think, job, run, live, &options, &record, &turns, players, &timing);
}

void finish_computer_move(tui_computer_job *job) {
    if (job->thread.joinable()) job->thread.join();
}
