// The two-move opening book.
#pragma once

#include "rules/game_state.h"

struct book_answer {
    bool found;
    coord src, dst;
    uint8_t opening; // the counter after the call
};

// The book answers only within its first two calls of a game (game.opening counts them),
// and only on the first half-move of each side.
book_answer ai_opening(const game_state &game);
