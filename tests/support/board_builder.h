// Building positions for tests from FEN text.
#pragma once

#include "rules/game_state.h"
#include "rules/notation/fen.h"
#include "rules/notation/notation.h"

#include <gtest/gtest.h>

#include <string>

inline fen_position position_from_fen(const std::string &fen) {
    fen_position pos{};
    std::string error;
    EXPECT_TRUE(load_fen(fen, &pos, &error)) << fen << ": " << error;
    return pos;
}

inline struct board board_from_fen(const std::string &fen) {
    return position_from_fen(fen).board;
}

inline coord square(const char *name) {
    return coord{static_cast<uint8_t>('8' - name[1]), static_cast<uint8_t>(name[0] - 'a')};
}

// A game standing at the position, with a fresh history, the given move counter and
// half-move number.
inline game_state game_from_fen(const std::string &fen, uint32_t moves_pawn_capture,
                                uint32_t turn_count = 0) {
    fen_position pos = position_from_fen(fen);
    pos.halfmoves = moves_pawn_capture;
    return game_from_position(pos, turn_count);
}
