// The game's computer player against the plain one: same report lines, same board after
// the move, same number of random draws.
#include "ai/classic/root_rating.h"
#include "game/running_game.h"
#include "game/turns/computer_turn.h"
#include "rules/board_queries.h"
#include "tests/ai/classic_reference/literal_ai.h"
#include "tests/ai/classic_reference/review_cases.h"
#include "tests/support/run_captured.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

#ifdef __OPTIMIZE__
constexpr int random_case_count = 300;
constexpr int default_depth_case_count = 40;
constexpr unsigned chosen_case_seeds[] = {7, 12345};
constexpr int most_plies = 40;
#else
constexpr int random_case_count = 20; // sanitizer builds are slow
constexpr int default_depth_case_count = 2;
constexpr unsigned chosen_case_seeds[] = {7};
constexpr int most_plies = 3;
#endif

enum class player { game, plain };

game_state game_of(const review_case &c) {
    game_state game{};
    game.board = c.board;
    game.game_status.turn = c.turn;
    game.game_status.moves_pawn_capture = c.moves_pawn_capture;
    game.game_status.last_moves = c.history;
    game.turn_count = c.turn_count;
    game.opening = c.opening_calls;
    return game;
}

ai_settings settings_of(const review_case &c) {
    ai_settings settings;
    settings.depth1 = c.depth1;
    settings.depth2 = c.depth2;
    settings.blunders = c.blunders;
    settings.global_deadend_score = c.deadend_score;
    settings.deadend_limit = c.deadend_limit;
    settings.threads = c.threads;
    return settings;
}

void print_game(const game_state &game) {
    std::printf("board:");
    for (const auto &row : game.board.tiles)
        for (uint8_t tile : row) std::printf(" %02x", tile);
    std::printf("\nhistory index %u, counter %u, book %u\n", game.game_status.last_moves.index,
                game.game_status.moves_pawn_capture, game.opening);
}

// Plays the case's computer moves one after the other, as the turn loop does.
captured_run play(const review_case &c, player who) {
    return run_captured([&] {
        game_state game = game_of(c);
        const ai_settings settings = settings_of(c);
        std::srand(c.seed); // the literal reading draws from the C library
        const auto search = new_search_context(c.seed);
        for (int p = 0; p < c.plies; p++) {
            const coord king = find_king(&game.board, game.game_status.turn);
            if (who == player::game) {
                // The game's turn plays the whole half-move, the side and number included.
                running_game run;
                const computer_move m = do_ai_move(&run, search.get(), &game, settings);
                if (m.ending) std::exit(close_game(&run, *m.ending, nullptr));
                print_game(game);
                continue;
            }
            literal::do_ai_move(&game, settings, king);
            print_game(game);
            game.game_status.turn = !game.game_status.turn;
            game.turn_count++;
        }
        std::printf("next random number %d\n",
                    who == player::game ? next_random(&search->random) : std::rand());
    });
}

void expect_same_play(const review_case &c) {
    const captured_run plain = play(c, player::plain);
    const captured_run game = play(c, player::game);
    EXPECT_EQ(plain.status, game.status) << describe(c);
    EXPECT_EQ(plain.output, game.output) << describe(c);
}

TEST(PlayerMatch, ChosenPositions) {
    for (const review_case &c : chosen_cases()) {
        for (unsigned seed : chosen_case_seeds) {
            review_case v = c;
            v.seed = seed;
            if (v.plies > most_plies) v.plies = most_plies;
            expect_same_play(v);
            v.blunders = 3;
            expect_same_play(v);
        }
    }
}

TEST(PlayerMatch, RandomPositionsAndSettings) {
    for (const review_case &c : random_cases(random_case_count, 2026)) expect_same_play(c);
}

// The depths, dead-end bounds and thread count a game starts with.
TEST(PlayerMatch, RandomPositionsAtDefaultDepths) {
    for (review_case c : random_cases(default_depth_case_count, 99)) {
        c.depth1 = default_depth1;
        c.depth2 = default_depth2;
        c.deadend_score = default_deadend_score;
        c.deadend_limit = default_deadend_limit;
        c.threads = default_search_threads();
        c.plies = 1;
        expect_same_play(c);
    }
}

} // namespace
