// Positions and moves for the strong player's tests, through the game's own rules.
#pragma once

#include "ai/strong/strong_player.h"
#include "rules/fast/fast_position.h"
#include "rules/game_state.h"
#include "rules/notation/san.h"

#include <string>
#include <vector>

game_state game_at(const std::string &fen, uint32_t moves_pawn_capture = 0);

// The game's legal moves of the side to move (an ascension once per type).
std::vector<san_move> game_legal_moves(const game_state &game);

// Plays a move as the game does: board, ascension, counter, history, side to move.
void play_in_game(game_state *game, const san_move &m);

san_move san_of(const strong_move &m);
fast::move16 move16_of(const san_move &m);

// A search with a node limit and no clock: it repeats exactly.
strong_settings node_limited(uint64_t nodes);
strong_settings depth_limited(int depth);

// The same position seen from the other side: rows turned over, colours swapped.
fast::position mirrored(const fast::position &pos);

// A small deterministic generator for random choices in tests.
struct test_random {
    uint64_t state;
    uint32_t below(uint32_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>((state >> 33) % n);
    }
};
