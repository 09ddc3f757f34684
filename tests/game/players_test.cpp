// Every kind of player asked alike through the player interface.
#include "ai/classic/classic_player.h"
#include "ai/strong/strong_as_player.h"
#include "client/engine_position.h"
#include "game/turns/engine_turn.h"
#include "rules/notation/san.h"

#include <gtest/gtest.h>

namespace {

game_state position_at(const std::string &fen) {
    replayed_position r;
    std::string problem;
    EXPECT_TRUE(replay_position({fen, {}}, &r, &problem)) << problem;
    return r.game;
}

} // namespace

// The classic player, the strong one and stockfish take turns in one game, each handed the
// start and every move since: a player that misreads the game (an engine told the wrong
// position answers with a move illegal here) or garbles its answer fails here.
TEST(Players, EveryKindAnswersLegallyInOneGame) {
    const auto search = new_search_context(1);
    classic_setup classic;
    classic.settings.depth1 = 1;
    classic.settings.depth2 = 2;
    classic.settings.threads = 1;
    engine_client stockfish;
    std::string error;
    ASSERT_TRUE(start_engine(&stockfish, "stockfish", engine_protocol::uci, {}, &error)) << error;
    ASSERT_TRUE(new_engine_game(&stockfish));
    const std::unique_ptr<player> players[] = {new_classic_player(search.get(), classic),
                                               new_strong_player(nullptr, strong_setup{}),
                                               new_engine_player(&stockfish, 30)};
    player_limits limits;
    limits.depth = 3;
    game_moves game;
    game.start = game.now = position_at("");
    for (int half_move = 0; half_move < 15; half_move++) {
        player &p = *players[half_move % 3];
        const player_answer a = p.decide(game, limits, {});
        ASSERT_EQ(a.outcome, player_outcome::move) << p.name() << ": " << a.failure;
        const game_state &now = game.now;
        ASSERT_FALSE(
            format_san(now.board, now.game_status.turn, a.move.src, a.move.dst, a.move.ascend)
                .empty())
            << p.name() << " at half-move " << half_move;
        play_legal_move(&game.now, a.move);
        game.moves.push_back(a.move);
    }
}
