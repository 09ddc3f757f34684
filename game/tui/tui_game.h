// The game on the full-screen board (the word TUI): the same game state, clocks, rules and
// records as the text game, shown in place, moved with the keys, the mouse or typed moves.
#pragma once

#include "game/game_ending.h"
#include "game/options/game_options.h"
#include "game/records/game_record.h"
#include "game/turn_loop.h"
#include "game/turns/game_timing.h"
#include "game/turns/take_back.h"
#include "rules/game_state.h"

#include <string>

struct running_game;

// Whether TUI may run here; `why` is the one line that says why not.
bool tui_usable(std::string *why);

// Takes the terminal, plays the game to its end (or until the person quits), closes its
// record as the text game does, gives the terminal back and prints the last message there.
// Returns the exit status; `again` tells whether the person asked for a new game (n) at
// the end.
int tui_play(running_game *run, game_state *live, const game_options &options, game_record *record,
             turn_history *turns, const computer_players &players, game_timing *timing,
             bool *again);
