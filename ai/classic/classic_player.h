// The classic player behind the player interface: its search, and on a clock the rule that
// keeps it from overrunning its share of the time.
#pragma once

#include "ai/classic/ai.h"
#include "ai/player.h"

#include <memory>

struct classic_setup {
    ai_settings settings;
    int64_t overhead_ms = 0; // taken off every budget for printing and playing the move
    // Every search draws its random numbers anew from `seed` (an engine: every go in the
    // same position chooses alike); else they run on from search to search, as in a game.
    bool reseed = false;
    unsigned seed = 0;
};

constexpr int64_t no_budget = -1;

// How long the classic player may think on `limits` for the move of `side`: the fixed move
// time, or its share of its clock (the soft limit of budget_for_move), whichever is less,
// each less `overhead_ms` and not below 0; no_budget when neither bounds it.
int64_t classic_budget_ms(const player_limits &limits, uint8_t side, int64_t overhead_ms);

// The classic player searching with `context` (borrowed: its scratch and random numbers,
// which may be the game's). A limit's depth replaces the second pass's. With a budget it
// searches one pass at depth1 quietly, then the full search until the budget runs out; the
// full search cut short by the clock gives way to the one-pass move (answer.one_pass). It
// keeps no node limit and always chooses among every legal move (limits.searchmoves).
std::unique_ptr<player> new_classic_player(search_context *context, const classic_setup &setup);
