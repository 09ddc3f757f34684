// What one rating search carries from ply to ply. Every worker thread has its own.
#pragma once

#include "ai/classic/ai_settings.h"
#include "rules/game_state.h"

#include <atomic>
#include <cstdint>

struct search_state {
    uint8_t depth = 0;     // current ply: 1 while a root move is rated, 0 between root calls
    uint8_t max_depth = 0; // number of plies rated
    uint64_t a = 0;        // rated positions
    // The searched game: its history ring and half-move counter judge the positions met,
    // its half-move number switches the repetition and mobility terms on.
    const game_status *status = nullptr;
    uint32_t turn_count = 0;
    int32_t global_deadend_score = default_deadend_score;
    int32_t deadend_limit = default_deadend_limit;
    // Set when the rating in progress is no longer wanted; its result is then meaningless.
    const std::atomic<bool> *cancel = nullptr;
};

// A search of `game` with the dead-end settings of `settings`.
inline search_state search_state_for(const game_state &game, const ai_settings &settings) {
    search_state st;
    st.status = &game.game_status;
    st.turn_count = game.turn_count;
    st.global_deadend_score = settings.global_deadend_score;
    st.deadend_limit = settings.deadend_limit;
    return st;
}
