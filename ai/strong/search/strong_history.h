// The game's earlier positions as the strong search compares them for repetitions.
#pragma once

#include "rules/game_state.h"
#include "rules/notation/san.h"

#include <cstdint>
#include <vector>

// Replays `moves` from `start` and returns the repetition keys (rules/fast/repetition_key.h)
// of the positions since the last capture or pawn move, oldest first, the position after
// the last move last: what strong_settings::history takes. Empty if a move is not legal
// where it is played.
std::vector<uint64_t> strong_history_keys(const game_state &start,
                                          const std::vector<san_move> &moves);
