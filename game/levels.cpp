#include "game/levels.h"

namespace {

struct level_preset {
    uint8_t depth1, depth2, blunders;
    int32_t deadend; // the DEADEND word: the threshold is -deadend
    int32_t limit;
};

// clang-format off
// Ordered by strength measured against one fixed opponent (tools/match/calibration).
constexpr level_preset presets[highest_level] = {
    {1, 3, 0, 1988, 548},  // 1: a first pass of one half-move
    {1, 1, 2, 1988, 548},  // 2: one half-move, a worse move one time in two
    {2, 2, 8, 1988, 548},  // 3
    {2, 2, 20, 1988, 548}, // 4
    {3, 6, 0, 1988, 548},  // 5: the game's defaults
    {2, 3, 0, 1988, 548},  // 6
    {3, 8, 0, 2100, 548},  // 7: lines are dropped later, so they go deeper
    {2, 4, 0, 1988, 548},  // 8: the strongest measured (deeper second passes score the same)
};
// clang-format on

} // namespace

void apply_level(int level, ai_settings *settings) {
    const level_preset &p = presets[level - lowest_level];
    settings->depth1 = p.depth1;
    settings->depth2 = p.depth2;
    settings->blunders = p.blunders;
    settings->global_deadend_score = -p.deadend;
    settings->deadend_limit = p.limit;
}
