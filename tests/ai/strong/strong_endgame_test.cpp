// The basic endgames are won, against the player's own best defence, before the game's
// move counter passes 50 half-moves (when a person may claim the draw).
#include "rules/fast/fast_moves.h"
#include "strong_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

bool mated(const game_state &game) {
    return game_legal_moves(game).empty() && fast::in_check(fast::position_of_game(game));
}

// Plays the position out; true when the side to move at the start mates in time.
bool won_in_time(const char *fen) {
    game_state game = game_at(fen);
    const bool won = [&] {
        strong_memory memory;
        while (game.game_status.moves_pawn_capture <= 50) {
            if (game_legal_moves(game).empty()) return mated(game) && game.game_status.turn == 1;
            const strong_decision d =
                choose_strong_move(game, node_limited(40000), strong_observer{}, &memory);
            play_in_game(&game, san_of(d.move));
            if (mated(game)) return game.game_status.moves_pawn_capture <= 50;
            // A capture of the strong side's piece would reset the counter: no win then.
            if (game.game_status.moves_pawn_capture == 0) return false;
        }
        return false;
    }();
    std::printf("%s: %s after %u half-moves\n", fen, won ? "won" : "not won",
                game.game_status.moves_pawn_capture);
    return won;
}

TEST(StrongEndgames, QueenAndRookMateALoneKing) {
    for (const char *fen : {"8/8/8/4k3/8/8/8/3QK3 w - - 0 1", "k7/8/8/8/8/8/8/6QK w - - 0 1",
                            "8/8/3k4/8/8/8/8/R3K3 w - - 0 1", "8/8/8/8/4k3/8/8/K6R w - - 0 1",
                            "7K/8/8/8/3k4/8/8/R7 w - - 0 1"})
        EXPECT_TRUE(won_in_time(fen)) << fen;
}

TEST(StrongEndgames, TwoBishopsAndBishopWithKnightMateALoneKing) {
    for (const char *fen : {"8/8/8/3k4/8/8/8/2B1KB2 w - - 0 1", "5k2/8/8/8/8/8/8/2B1KB2 w - - 0 1",
                            "8/8/8/8/2k5/8/8/1BB1K3 w - - 0 1", "8/8/2k5/8/8/2K5/8/1B1N4 w - - 0 1",
                            "7k/8/8/4K3/8/8/8/1B1N4 w - - 0 1"})
        EXPECT_TRUE(won_in_time(fen)) << fen;
}

} // namespace
