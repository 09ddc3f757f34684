// Which draw rules the strong player steers by.
#pragma once

#include <cstdint>

enum class draw_rules : uint8_t {
    // The game's own: a position seen three times within the last sixteen, more than 50
    // half-moves without a pawn move or capture (a person may claim; the game declares a
    // draw at random after 75), two bare kings.
    game,
    // The usual tournament rules: threefold repetition since the last pawn move or capture,
    // the fifty-move rule (100 half-moves; a mate on the last one still counts), bare kings.
    fide,
};
