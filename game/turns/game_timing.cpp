#include "game/turns/game_timing.h"
#include "rules/time/clock_text.h"

game_timing timing_for(const game_options &options) {
    game_timing timing;
    timing.clocks = options.clock;
    if (options.clock) timing.clock = new_clock(options.clocks[0], options.clocks[1]);
    timing.fide = options.fide;
    return timing;
}

std::string clock_comment(const game_timing &timing, uint8_t side) {
    if (!timing.clocks) return {};
    return clk_annotation(timing.clock.remaining_ms[side]);
}
