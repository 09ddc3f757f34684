// The computer's half-move while the full-screen board stays live: the player thinks on a
// thread of its own, through the player interface as in the text game, and the board reads
// its latest thinking and whether it is done.
#pragma once

#include "ai/player.h"
#include "game/options/game_options.h"
#include "game/records/game_record.h"
#include "game/turn_loop.h"
#include "game/turns/computer_turn.h"
#include "game/turns/game_timing.h"
#include "game/turns/take_back.h"

#include <atomic>
#include <mutex>
#include <thread>

struct tui_computer_job {
    std::thread thread;
    std::atomic<bool> done{false};
    std::atomic<bool> stop{false}; // raised to end the thinking with the best move so far
    std::mutex lock;               // guards `thinking` and `has_thinking`
    player_thinking thinking;      // the latest, from the mover's side
    bool has_thinking = false;
    computer_move result; // once `done`
};

// Starts the computer's move for the side to move of `live`, which the thread changes: the
// caller reads nothing of `live` (nor writes `timing`) until finish_computer_move.
void start_computer_move(tui_computer_job *job, running_game *run, game_state *live,
                         const game_options &options, const game_record &record,
                         const turn_history &turns, const computer_players &players,
                         const game_timing &timing);

// Waits for the thread; the result is then in job->result.
void finish_computer_move(tui_computer_job *job);
