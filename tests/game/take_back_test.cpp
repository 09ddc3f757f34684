// Take-backs restore the whole game state of an earlier turn (board and flags, history ring,
// counters, book) and the record, and skip the computer's turns.
#include "game/records/game_record.h"
#include "game/turns/take_back.h"
#include "rules/move_piece.h"
#include "rules/position_rules.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

namespace {

// Plays the moves as the turn loop does, keeping a snapshot at the start of every turn.
game_state play(game_state game, const std::vector<const char *> &moves, turn_history *turns,
                game_record *record) {
    for (const char *m : moves) {
        turns->push_back({game, record->moves.size()});
        const bool computer =
            game.game_status.turn ? game.game_status.black_ai : game.game_status.white_ai;
        if (computer && game.opening > 0) game.opening--;
        const game_state before = game;
        const san_move played{square(m), square(m + 2), 0};
        play_half_move(&game, played.src, played.dst, 0);
        record_move(record, before, played);
    }
    return game;
}

std::vector<std::string> sans(const game_record &record) {
    std::vector<std::string> out;
    for (const recorded_move &m : record.moves) out.push_back(m.san);
    return out;
}

} // namespace

TEST(TakeBack, TwoPersonsGoBackOneHalfMoveAtATime) {
    game_record record;
    turn_history turns;
    game_state live = new_game();
    live = play(live, {"e2e4", "e7e5", "g1f3", "b8c6"}, &turns, &record);
    const game_state after_three = turns[3].game; // before Black's second move
    turns.push_back({live, record.moves.size()}); // the turn in progress
    ASSERT_TRUE(take_back(&turns, &live, &record));
    EXPECT_TRUE(live == after_three);
    EXPECT_EQ(sans(record), (std::vector<std::string>{"e4", "e5", "Nf3"}));
    EXPECT_EQ(turns.size(), 3u);
}

TEST(TakeBack, AgainstTheComputerThePersonsPreviousTurnComesBack) {
    game_record record;
    turn_history turns;
    game_state start = new_game();
    start.game_status.black_ai = 1;
    game_state live = play(start, {"d2d4", "f7f5", "g1f3", "g8f6"}, &turns, &record);
    turns.push_back({live, record.moves.size()});
    ASSERT_TRUE(take_back(&turns, &live, &record));
    // Back before White's second move: the computer's reply goes too, the book counter
    // with it.
    EXPECT_EQ(live.turn_count, 3u);
    EXPECT_EQ(live.opening, 1);
    EXPECT_EQ(live.game_status.moves_pawn_capture, 0u);
    EXPECT_EQ(live.game_status.last_moves.index, 2);
    EXPECT_EQ(sans(record), (std::vector<std::string>{"d4", "f5"}));
    // And once more to the first move, then nothing is left to take back.
    turns.push_back({live, record.moves.size()});
    ASSERT_TRUE(take_back(&turns, &live, &record));
    EXPECT_TRUE(live == start);
    turns.push_back({live, record.moves.size()});
    const game_state first = live;
    EXPECT_FALSE(take_back(&turns, &live, &record));
    EXPECT_TRUE(live == first);
    EXPECT_TRUE(record.moves.empty());
}
