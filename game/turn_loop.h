// The turn loop: who plays the computer's moves, and the game played half-move by half-move.
#pragma once

#include "ai/classic/search_context.h"
#include "ai/player.h"
#include "ai/strong/strong_player.h"
#include "game/game_ending.h"
#include "game/options/game_options.h"
#include "game/records/game_record.h"
#include "game/turns/engine_turn.h"
#include "game/turns/game_timing.h"
#include "game/turns/take_back.h"
#include "rules/game_state.h"

#include <memory>

struct running_game;

// Who plays the computer's moves: the classic player's search (whose random numbers are
// also the game's), the strong player's table when PLAYER=strong, the outside engines.
struct computer_players {
    search_context *classic = nullptr;
    strong_memory *strong = nullptr;
    outside_engines *engines = nullptr;
};

// Who plays the computer's moves of `side`: its outside engine, else the strong player when
// chosen, else the classic one (whose random numbers are also the game's).
std::unique_ptr<player> player_for_side(const game_options &options,
                                        const computer_players &players, uint8_t side);

// The turn loop: one cycle per half-move of `live`, each move added to `record`, each turn's
// start kept in `turns` for take-backs, the computer's moves made by `players`, the clocks and
// draw rules of `timing`; returns how the game ends.
game_ending play_game(running_game *run, game_state *live, const game_options &options,
                      game_record *record, turn_history *turns, const computer_players &players,
                      game_timing *timing);
