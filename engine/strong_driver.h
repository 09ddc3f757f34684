// A "go" searched by the strong player: its limits from the go command, an info line per
// iteration, and the decision.
#pragma once

#include "ai/strong/strong_as_player.h"
#include "engine/search_driver.h"

// The strong player's habits in the engine: no time of its own (a plain go runs until
// stop), the usual draw rules, and the engine's options.
strong_setup strong_setup_for(const engine_options &options);

// The limits of a go command for the strong player.
strong_settings strong_settings_for(const search_request &request);

// One info line for a finished iteration of the strong player.
void send_strong_iteration(const player_thinking &it);

// The closing info line and "bestmove".
void send_strong_result(const search_request &request, const player_answer &a);
