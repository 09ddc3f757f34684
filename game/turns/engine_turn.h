// Outside engines as the computer's players (ENGINE=, WHITE_ENGINE=, BLACK_ENGINE=): started
// before the game, asked for each move of their side, stopped when the game ends.
#pragma once

#include "ai/player.h"
#include "client/engine_client.h"
#include "game/options/game_options.h"

#include <memory>
#include <string>

struct outside_engines {
    std::unique_ptr<engine_client> side[2]; // White's and Black's; null: not an engine
};

// Starts the engine `command` speaking `protocol` ("uci", "xboard", else found out) with the
// options "Name=Value" (what it lacks is warned about on standard error), and tells it a
// game begins. False, with one line naming the engine in `error`, when it cannot.
bool start_engine_for_game(engine_client *client, const std::string &command,
                           const std::string &protocol, const std::vector<std::string> &options,
                           std::string *error);

// Starts the engine of every side that has one and tells it a game begins; their own
// names go into options->engine_names. False, with one line naming the engine in
// `error`, when one cannot be started.
bool start_outside_engines(game_options *options, outside_engines *engines, std::string *error);

// The engine `client` (borrowed) as a player: told the game's start and every move since,
// for `move_time_ms` a move unless the limits give its clocks (then it may think until its
// flag falls: a hung engine's answer is timed_out). An engine that dies, hangs or sends a
// move that is not legal fails, with one line saying so. Its summary is its last thinking,
// unless that line does not begin with its move (a weakened engine may play another).
std::unique_ptr<player> new_engine_player(engine_client *client, int64_t move_time_ms);
