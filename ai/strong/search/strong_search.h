// The search of the strong player, within the ai layer: scores, and the draw rules it
// judges positions by.
#pragma once

#include "ai/strong/strong_draws.h"
#include "rules/fast/fast_position.h"

constexpr int strong_mate_score = 32000;
constexpr int infinite_score = 32001;
constexpr int mate_bound = strong_mate_score - 256; // a score beyond it is a mate found

// The score of the captures (and check evasions) from the position on, for the side to
// move: what the evaluation is fitted against.
int quiescence_score(const fast::position &pos);

// Draws by the rules alone, for a position reached in play or in the search (not the
// root): `keys` holds the keys of the positions of the game and of the search so far (board
// keys under the game's rules, repetition keys under FIDE's), the current one last;
// `first_searched` the index of the root's successor.
bool drawn_by_rules(const fast::position &pos, draw_rules rules, const uint64_t *keys, int count,
                    int first_searched);
