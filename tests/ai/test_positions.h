// Positions shared by the computer player's tests.
#pragma once

#include "rules/fen.h"

#include <string>
#include <vector>

// Loads a FEN into the live game (history cleared, book off) at half-move `turn`.
fen_position setup_live(const std::string &fen, uint32_t turn);

// A varied pool: openings, middlegames, promotions, castling, en passant, endgames, and the
// positions reached from them by a few random legal moves.
std::vector<fen_position> position_pool();
