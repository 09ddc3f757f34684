// Levels: presets of the computer's five settings, from a gentle opponent (1) to the
// strongest one measured (8), each stronger than the one below it in matches
// (tools/match/calibrate_levels.sh); the table and its figures are in docs/reference.md. The game's
// LEVEL word and the engine's Level option set them.
#pragma once

#include "ai/classic/ai_settings.h"

constexpr int lowest_level = 1;
constexpr int highest_level = 8;

// The settings of `level` (lowest_level..highest_level); the thread count is left alone.
void apply_level(int level, ai_settings *settings);
