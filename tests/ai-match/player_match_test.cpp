// The game's computer player against the plain one: same report lines, same board after
// the move, same number of random draws.
#include "ai/ai.h"
#include "ai/ai_settings.h"
#include "ai/opening.h"
#include "ai/root_rating.h"
#include "rules/live_game.h"
#include "rules/pieces.h"
#include "tests/ai-match/literal_ai.h"
#include "tests/ai-match/review_cases.h"
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

void set_up(const review_case &c) {
    std::memset(&game_status, 0, sizeof game_status);
    board = c.board;
    game_status.turn = c.turn;
    game_status.moves_pawn_capture = c.moves_pawn_capture;
    game_status.last_moves = c.history;
    turn_count = c.turn_count;
    depth1 = c.depth1;
    depth2 = c.depth2;
    blunders = c.blunders;
    global_deadend_score = c.deadend_score;
    deadend_limit = c.deadend_limit;
    search_threads = c.threads;
    set_opening_calls_left(c.opening_calls);
    literal::set_opening_calls_left(c.opening_calls);
}

void print_board() {
    std::printf("board:");
    for (const auto &row : board.tiles)
        for (uint8_t tile : row) std::printf(" %02x", tile);
    std::printf("\nhistory index %u, counter %u\n", game_status.last_moves.index,
                game_status.moves_pawn_capture);
}

// Plays the case's computer moves one after the other, as the turn loop does.
captured_run play(const review_case &c, player who) {
    return run_captured([&] {
        set_up(c);
        std::srand(c.seed);
        for (int p = 0; p < c.plies; p++) {
            const coord king = find_king(&board, game_status.turn);
            if (who == player::game)
                do_ai_move(king);
            else
                literal::do_ai_move(king);
            print_board();
            game_status.turn = !game_status.turn;
            turn_count++;
        }
        std::printf("next random number %d\n", std::rand());
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
