// Start-up and the turn loop.
#pragma once

#include "ai/ai_settings.h"
#include "game/game_record.h"
#include "game/settings.h"
#include "game/take_back.h"
#include "rules/game_state.h"

// Reads the command-line words, sets up the board, opens the window in graphics mode and
// plays the game; returns only when the board cannot be set up.
int vartok_main(int argc, char **argv);

// The turn loop: one cycle per half-move of `live`, each move added to `record`, each turn's
// start kept in `turns` for take-backs; ends the process when the game is over.
[[noreturn]] void game(game_state *live, const game_options &options, game_record *record,
                       turn_history *turns);
