// How long the engine may think about one move, from the clocks or the fixed move time.
#pragma once

#include "ai/player.h"
#include "engine/go_limits.h"

#include <cstdint>

// Taken off every budget for the round trip through the pipes and the GUI.
constexpr int64_t move_overhead_ms = 20;

// A go command's limits as a player is given them.
player_limits player_limits_of(const go_limits &limits);

// Milliseconds for the move of `side` (0 White, 1 Black), or no_limit. With a clock: an
// equal share of the time left for the moves to come plus the increment, never more than
// half the time left; with movetime: that time. Each less the overhead, and not below 0.
int64_t move_time_budget(const go_limits &limits, uint8_t side);
