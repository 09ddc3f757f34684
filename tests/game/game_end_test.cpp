#include "game/game_end.h"
#include "game/running_game.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "rules/position_rules.h"
#include "tests/support/board_builder.h"
#include "tests/support/run_captured.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// As the game ends after its turn-start test: the record aside, the message is shown and the
// process ends with the status.
void end_of_turn_start(const std::optional<game_ending> &ending) {
    running_game run;
    if (ending) std::exit(close_game(&run, *ending, nullptr));
}

// Sets the live game to the position and runs the turn-start test for the side to move.
captured_run turn_start(const char *fen, uint32_t counter, uint32_t turn = 20, unsigned seed = 1) {
    return run_captured(
        [&] {
            const game_state game = game_from_fen(fen, counter, turn);
            random_numbers random = seeded_random_numbers(seed);
            running_game game_run;
            end_of_turn_start(check_move_stale(
                &game_run, game, find_king(&game.board, game.game_status.turn), &random));
        },
        "\n\n");
}

constexpr const char *black_mated = "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1";
constexpr const char *white_mated = "6k1/8/8/8/8/8/5PPP/r5K1 w - - 0 1";
constexpr const char *stalemate = "7k/5Q2/8/8/8/8/8/6K1 b - - 0 1";
constexpr const char *check = "4k3/8/8/8/8/8/8/4R1K1 b - - 0 1";

// The first seed whose first rand() declares the move-count draw, or does not.
unsigned seed_where_first_draw(bool declares) {
    for (unsigned seed = 1;; seed++) {
        std::srand(seed);
        if (((std::rand() & 3) == 0) == declares) return seed;
    }
}

} // namespace

TEST(GameEnd, MateAndStalemateEndTheGameAndNameTheWinner) {
    for (uint32_t counter : {0u, 50u, 51u, 75u, 76u, 200u}) {
        EXPECT_EQ(turn_start(black_mated, counter).output, "Checkmate. White won.\n\n");
        const captured_run white = turn_start(white_mated, counter);
        EXPECT_EQ(white.status, 0);
        EXPECT_EQ(white.output, "Checkmate. Black won.\n\n");
        EXPECT_EQ(turn_start(stalemate, counter).output, "Stalemate.\n") << counter;
    }
}

TEST(GameEnd, CheckIsAnnouncedAndTheGameGoesOn) {
    for (uint32_t counter : {0u, 60u}) {
        const captured_run run = turn_start(check, counter);
        EXPECT_EQ(run.status, returned_normally);
        EXPECT_EQ(run.output, "CHECK.\n");
    }
}

TEST(GameEnd, TheMoveCountDrawIsDeclaredOneTimeInFour) {
    const captured_run declared = turn_start(check, 76, 20, seed_where_first_draw(true));
    EXPECT_EQ(declared.status, 0);
    EXPECT_EQ(declared.output,
              "CHECK.\n76 moves without pawn move or capture - declaring a draw.\n\n");
    const captured_run refused = turn_start(check, 76, 20, seed_where_first_draw(false));
    EXPECT_EQ(refused.status, returned_normally);
    EXPECT_EQ(turn_start(check, 75, 20, seed_where_first_draw(true)).status, returned_normally);
    // Over many games the declaration comes about one time in four, not one in two.
    constexpr unsigned games = 400;
    unsigned declarations = 0;
    for (unsigned seed = 1; seed <= games; seed++)
        declarations += turn_start(check, 76, 20, seed).status == 0;
    EXPECT_GT(declarations, games / 4 - games / 10);
    EXPECT_LT(declarations, games / 4 + games / 10);
}

TEST(GameEnd, EachTurnPastTheLimitDrawsOnceFromTheGamesNumbers) {
    // One generator through the turns, as in a game: a refusal uses up its draw, so the next
    // turn draws the next number, and the declaration comes when a twin's draws say so.
    const game_state game = game_from_fen("4k3/8/8/8/8/8/8/R3K3 b - - 0 1", 80, 40);
    const coord king = find_king(&game.board, game.game_status.turn);
    running_game game_run;
    for (unsigned seed = 1; seed <= 8; seed++) {
        random_numbers random = seeded_random_numbers(seed);
        random_numbers twin = random;
        for (int turn = 0; turn < 12; turn++) {
            const bool declares = (next_random(&twin) & 3) == 0;
            EXPECT_EQ(check_move_stale(&game_run, game, king, &random).has_value(), declares)
                << "seed " << seed << ", turn " << turn;
        }
        EXPECT_EQ(next_random(&random), next_random(&twin)) << "seed " << seed;
    }
}

TEST(GameEnd, BareKingsDrawButAMinorPieceIsEnough) {
    const captured_run bare = turn_start("4k3/8/8/8/8/8/8/4K3 w - - 0 1", 0);
    EXPECT_EQ(bare.status, 0);
    EXPECT_EQ(bare.output, "Draw: Not enough pieces on the board to continue.\n");
    EXPECT_EQ(turn_start("4k3/8/8/8/8/8/8/3NK3 w - - 0 1", 0).status, returned_normally);
}

TEST(GameEnd, RepetitionEndsTheGameFromTheFourthHalfMove) {
    const auto repeated = [](uint32_t turn) {
        return run_captured(
            [&] {
                game_state game = game_from_fen(check, 0, turn);
                for (int i = 0; i < 3; i++) log_move(&game);
                random_numbers random = seeded_random_numbers(1);
                running_game game_run;
                end_of_turn_start(
                    check_move_stale(&game_run, game, find_king(&game.board, 1), &random));
            },
            "\n");
    };
    // Before the fourth half-move a repetition means nothing, and it hides the check.
    const captured_run early = repeated(3);
    EXPECT_EQ(early.status, returned_normally);
    EXPECT_EQ(early.output, "");
    const captured_run late = repeated(4);
    EXPECT_EQ(late.status, 0);
    EXPECT_EQ(late.output, "Draw: Third repetition.\n");
}
