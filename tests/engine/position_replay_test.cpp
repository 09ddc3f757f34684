// The engine's positions: moves replayed through the game's move code, checked against
// stockfish's view of the same moves, against the game's own record of a game it played,
// and refused where they are not legal.
#include "engine/position_command.h"
#include "game/running_game.h"
#include "game/turns/computer_turn.h"
#include "rules/notation/coordinates.h"
#include "rules/notation/fen.h"
#include "tests/support/run_captured.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

struct replay_case {
    const char *command; // the words after "position"
    const char *fen;     // stockfish 15's "d" after the same command
};

std::string fen_after(const std::string &command, std::string *problem) {
    game_state game = new_game();
    if (!set_up_position(split_words(command), 0, &game, problem)) return "refused";
    return format_fen(position_of(game, (game.turn_count + 1) / 2));
}

} // namespace

TEST(PositionReplay, CastlingEnPassantAndPromotionAsStockfishSeesThem) {
    const replay_case cases[] = {
        {"startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1g1 f8c5 d2d3 e8g8",
         "r1bq1rk1/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQ1RK1 w - - 1 6"},
        {"startpos moves d2d4 g8f6 c1f4 d7d5 b1c3 c8f5 d1d2 e7e6 e1c1",
         "rn1qkb1r/ppp2ppp/4pn2/3p1b2/3P1B2/2N5/PPPQPPPP/2KR1BNR b kq - 1 5"},
        {"startpos moves e2e4 a7a6 e4e5 d7d5",
         "rnbqkbnr/1pp1pppp/p7/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3"},
        {"startpos moves e2e4 a7a6 e4e5 d7d5 e5d6",
         "rnbqkbnr/1pp1pppp/p2P4/8/8/8/PPPP1PPP/RNBQKBNR b KQkq - 0 3"},
        {"fen 4k3/1P6/8/8/8/8/6p1/4K2R w K - 0 40 moves b7b8n g2h1q",
         "1N2k3/8/8/8/8/8/8/4K2q w - - 0 41"},
        {"fen r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 5 20 moves a1a8 e8e7",
         "R6r/4k3/8/8/8/8/8/4K2R w K - 1 21"},
    };
    for (const replay_case &c : cases) {
        std::string problem;
        EXPECT_EQ(fen_after(c.command, &problem), c.fen) << c.command;
        EXPECT_EQ(problem, "") << c.command;
    }
}

TEST(PositionReplay, HalfMoveNumberFromTheMoveNumberAsTheGameCountsIt) {
    game_state game;
    std::string problem;
    ASSERT_TRUE(
        set_up_position(split_words("fen 4k3/8/8/8/8/8/8/4K3 b - - 3 10"), 0, &game, &problem));
    EXPECT_EQ(game.turn_count, 20u);
    EXPECT_EQ(game.game_status.moves_pawn_capture, 3u);
    EXPECT_EQ(game.opening, 0) << "the book plays from the start position only";
    ASSERT_TRUE(set_up_position(split_words("fen 4k3/8/8/8/8/8/8/4K3 w - - 0 1 moves e1e2"), 0,
                                &game, &problem));
    EXPECT_EQ(game.turn_count, 2u) << "White's first move is half-move 1";
    // The usual start written as a FEN is the same half-move as startpos.
    ASSERT_TRUE(
        set_up_position(split_words("fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"),
                        0, &game, &problem));
    EXPECT_EQ(game.turn_count, 1u);
    game = new_game();
    EXPECT_EQ(game.turn_count, 1u);
    EXPECT_EQ(game.opening, opening_book_calls);
}

TEST(PositionReplay, AnIllegalMoveEndsTheReplayBeforeIt) {
    struct refusal {
        const char *command;
        const char *fen_before; // where the replay stops
        const char *named;      // in the problem
    } cases[] = {
        {"startpos moves e2e4 e7e5 e1e3 g1f3",
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2", "move 3 e1e3"},
        {"startpos moves e2e4 d2d4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
         "no piece of the side to move"},
        {"fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 40 moves b7b8", "4k3/1P6/8/8/8/8/8/4K3 w - - 0 40",
         "must become a piece"},
        {"startpos moves e2e4q", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
         "only a pawn reaching the last rank"},
        {"startpos moves e1g1", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
         "not a legal move"},
        {"startpos moves e2e4 zz", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
         "not a move: 'zz'"},
        // Castling out of check, and a pinned piece moving: the king's safety decides.
        {"fen 4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 30 moves e1g1",
         "4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 30", "not a legal move"},
        {"fen 4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 30 moves e2c3", "4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 30",
         "not a legal move"},
    };
    for (const refusal &c : cases) {
        std::string problem;
        EXPECT_EQ(fen_after(c.command, &problem), c.fen_before) << c.command;
        EXPECT_NE(problem.find(c.named), std::string::npos) << c.command << ": " << problem;
    }
}

TEST(PositionReplay, UnusableStartsLeaveThePositionAlone) {
    const char *commands[] = {"",
                              "startpos e2e4",
                              "fen",
                              "fen 8/8/8/8/8/8/8/8 w - - 0 1",
                              "fen 4k3/8/8/8/8/8/4R3/4K3 w - - 0 1",
                              "middlegame moves e2e4"};
    std::string problem;
    game_state before = new_game();
    ASSERT_TRUE(set_up_position(split_words("startpos moves d2d4"), 0, &before, &problem));
    for (const char *command : commands) {
        game_state game = before;
        problem.clear();
        EXPECT_FALSE(set_up_position(split_words(command), 0, &game, &problem)) << command;
        EXPECT_TRUE(game == before) << command;
        EXPECT_NE(problem, "") << command;
    }
}

// The game plays itself with its own computer turn. Before each half-move, the engine's
// replay of the moves so far must be the game's own record (every tile flag, the history
// ring, the counters), and its search from there with the same seed the move the game plays.
TEST(PositionReplay, ReplayIsTheGamesOwnRecord) {
#ifdef __OPTIMIZE__
    constexpr int plies = 80;
#else
    constexpr int plies = 20; // sanitizer builds are slow
#endif
    const captured_run run = run_captured([] {
        game_state live = new_game();
        ai_settings settings;
        settings.depth1 = 2;
        settings.depth2 = 4;
        settings.threads = 1;
        std::string command = "startpos moves";
        for (int ply = 1; ply <= plies; ply++) {
            game_state replay;
            std::string problem;
            if (!set_up_position(split_words(command), 0, &replay, &problem) || !problem.empty())
                std::printf("ply %d: %s\n", ply, problem.c_str());
            if (!(replay.board == live.board) || !(replay.game_status == live.game_status) ||
                replay.turn_count != live.turn_count)
                std::printf("ply %d: the replay differs from the game\n", ply);
            const auto engine_search = new_search_context(static_cast<unsigned>(ply));
            const ai_decision chosen =
                choose_ai_move(engine_search.get(), replay, settings, search_observer{});
            if (chosen.outcome == ai_outcome::no_move) break; // the game would end here
            const auto game_search = new_search_context(static_cast<unsigned>(ply));
            running_game run;
            const ai_decision played =
                do_ai_move(&run, game_search.get(), &live, settings).decision;
            if (chosen.src != played.src || chosen.dst != played.dst ||
                chosen.ascend != played.ascend)
                std::printf("ply %d: the engine chose another move\n", ply);
            command += ' ';
            command += coordinate_text(played.src, played.dst, played.ascend);
        }
        std::printf("replayed: %s\n", command.c_str());
    });
    EXPECT_EQ(run.status, returned_normally);
    EXPECT_EQ(run.output.find("ply "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("replayed: startpos moves e2e4 c7c5"), std::string::npos)
        << run.output;
}
