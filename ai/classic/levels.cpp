#include "ai/classic/levels.h"

namespace {

struct level_preset {
    uint8_t depth1, depth2, blunders;
    int32_t deadend; // the DEADEND word: the threshold is -deadend
    int32_t limit;
};

// clang-format off
// Ordered by strength: each level beat the one below it in a match of 80 games from forty
// opening lines, by a margin whose 95% interval excludes an even score
// (tools/match/calibrate_levels.sh, which reads this table: one preset a line; the results
// are in tools/match/calibration).
constexpr level_preset presets[highest_level] = {
    {1, 1, 2, 1988, 548},   // 1: one half-move, a worse move one time in two
    {2, 2, 20, 1988, 548},  // 2: two half-moves, a worse move one time in twenty
    {2, 2, 40, 1988, 548},  // 3
    {2, 2, 100, 1988, 548}, // 4
    {2, 2, 255, 1988, 548}, // 5: the rarest blunders the word allows
    {2, 2, 0, 1988, 548},   // 6
    {2, 3, 0, 1988, 548},   // 7
    {2, 4, 0, 1988, 548},   // 8: as strong as any setting measured; deeper ones are no stronger
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
