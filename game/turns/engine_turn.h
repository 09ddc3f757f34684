// Outside engines as the computer's players (ENGINE=, WHITE_ENGINE=, BLACK_ENGINE=): started
// before the game, asked for each move of their side, stopped when the game ends.
#pragma once

#include "client/engine_client.h"
#include "game/options/game_options.h"
#include "game/records/game_record.h"
#include "game/turns/computer_turn.h"
#include "game/turns/game_timing.h"

#include <memory>
#include <string>

struct outside_engines {
    std::unique_ptr<engine_client> side[2]; // White's and Black's; null: not an engine
};

// Starts the engine of every side that has one and tells it a game begins; their own
// names go into options->engine_names. False, with one line naming the engine in
// `error`, when one cannot be started.
bool start_outside_engines(game_options *options, outside_engines *engines, std::string *error);

// The engine's half-move: asked in the game's position (its start and the moves of the
// record), for its time a move or with the clocks, announced as the computer's moves are
// ("12: Moving g8 to f6") with one line of its thinking, and played. An engine that dies,
// hangs or sends a move that is not legal ends the game, kept unfinished in its record
// (status 1), with a message on standard error; with clocks, a hung engine loses on time.
computer_move do_engine_move(running_game *run, engine_client *engine, game_state *live,
                             const game_record &record, const game_options &options,
                             const game_timing &timing);

// "Hint: e2-e4" from the engine, at its time a move, or why there is none.
std::string engine_hint_line(engine_client *engine, const game_record &record,
                             const game_options &options);
