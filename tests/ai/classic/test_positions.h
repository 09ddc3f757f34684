// Positions shared by the computer player's tests.
#pragma once

#include "ai/classic/ai.h"
#include "rules/game_state.h"
#include "rules/notation/fen.h"

#include <string>
#include <vector>

// A game standing at the FEN (history cleared, book off) at half-move `turn`.
game_state game_at(const std::string &fen, uint32_t turn);

// The computer player's decision in `game` and the report lines it gave.
struct ai_run {
    std::vector<std::string> lines;
    ai_decision decision;
    int next_random; // the search's random numbers after it: what the game draws next
};
// A search of its own, its random numbers seeded with `seed`.
ai_run run_ai(const game_state &game, const ai_settings &settings, unsigned seed = 1);

// A varied pool: openings, middlegames, ascensions, castling, en passant, endgames, and the
// positions reached from them by a few random legal moves.
std::vector<fen_position> position_pool();

// The squares of `side`'s pieces (0 White, 1 Black), a8 to h1.
std::vector<coord> side_squares(const struct board &b, uint8_t side);
