// The strong player behind the player interface: its settings for one move, built from
// what the caller gives it (its habits, the limits and clocks of the move), and the player.
#pragma once

#include "ai/player.h"
#include "ai/strong/strong_player.h"

#include <memory>

// How a weakened player draws the seed of its choices for each move.
enum class strong_seeding : uint8_t {
    fixed,   // `seed` itself: the same position, the same move (an engine's Seed)
    by_turn, // `seed` and the half-move number: a seeded game repeats move by move
    fresh,   // a new seed every move, from the clock
};

struct strong_setup {
    int64_t move_time_ms = 0; // its time a move when the limits give no time; 0: until stop
    int64_t overhead_ms = 0;  // taken off every budget for passing the move on
    draw_rules rules = draw_rules::game;
    int elo = 0; // 0: full strength
    strong_seeding seeding = strong_seeding::fixed;
    uint64_t seed = 0;
    int hash_mb = default_hash_mb;
    unsigned threads = 1;
};

// The settings for the move of the side to move in `now`: the limits' depth, nodes and
// root moves; unless the search is infinite, its time from the fixed move time or its share
// of its clock (whichever ends sooner), or else its own time a move.
strong_settings strong_settings_for(const strong_setup &setup, const player_limits &limits,
                                    const game_state &now);

// Whether a search with these settings ends by itself: false for one that runs until stop.
bool strong_search_ends(const strong_settings &settings);

// The strong player, keeping what it learns in `memory` (borrowed; null: a fresh table for
// every move). Its answer's summary is strong_report's line.
std::unique_ptr<player> new_strong_player(strong_memory *memory, const strong_setup &setup);
