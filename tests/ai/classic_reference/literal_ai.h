// A deliberately plain, single-threaded computer player: every step of the rating and the
// move choice written out in order, with no speed work. The tests play it against the
// game's own player and demand identical output, board and random-number use.
#pragma once

#include "ai/classic/ai_settings.h"
#include "rules/game_state.h"

#include <cstdint>

namespace literal {

// Chooses, reports, makes and records one move in `game` for the side to move, like the
// game's computer turn.
void do_ai_move(game_state *game, const ai_settings &settings, coord king_pos);

// Positions rated in the last pass.
uint64_t analysed_count();

// Rates one move on `brd` for `turn` to `max_depth` plies within `game` (its history and
// half-move number) without reporting; counts into analysed_count() from 0.
int8_t rate_move_alone(game_state *game, const ai_settings &settings, struct move *mv,
                       const struct board *brd, uint8_t turn, uint8_t max_depth);

} // namespace literal
