// A game's clocks and, with FIDE, the standard draw rules' history of positions: what the
// turn loop keeps beside the game when the words CLOCK= or FIDE are given.
#pragma once

#include "game/options/game_options.h"
#include "rules/position_key.h"
#include "rules/time/chess_clock.h"

#include <string>

struct game_timing {
    bool clocks = false;
    chess_clock clock{};
    bool fide = false;
    position_history positions; // with FIDE: every position of the game, the start included
};

// The timing the words ask for: both clocks full and stopped, no position noted yet.
game_timing timing_for(const game_options &options);

// The record's comment after a move of `side` whose clock has just stopped: "[%clk 0:04:53.2]";
// empty without clocks.
std::string clock_comment(const game_timing &timing, uint8_t side);
