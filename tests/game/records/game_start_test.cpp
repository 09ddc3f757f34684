// Starting a game from a record or a position: the game state must be exactly the one a
// game played to that point has, down to the history ring, the counters and the book.
#include "game/game_start.h"
#include "game/records/game_record.h"
#include "rules/game_state.h"
#include "rules/move_piece.h"
#include "rules/notation/san.h"
#include "rules/position_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string temp_path(const char *name) {
    return "/tmp/vartok-start-" + std::to_string(getpid()) + "-" + name;
}

// Plays random legal moves the way the turn loop does, keeping the record as it goes; the
// computer's turns use up the opening book as its calls do.
game_state play_random(unsigned seed, int plies, const game_options &options, game_record *record) {
    std::mt19937 rng(seed);
    game_state game = new_game();
    game.game_status.white_ai = options.white_ai;
    game.game_status.black_ai = options.black_ai;
    record_new_game(record, options, {}, true);
    side_move_list legal;
    for (int ply = 0; ply < plies; ply++) {
        side_legal_moves(game.board, game.game_status.turn, &legal);
        if (legal.count == 0) break;
        const san_move m = legal.moves[std::uniform_int_distribution<int>(0, legal.count - 1)(rng)];
        const bool computer =
            game.game_status.turn ? game.game_status.black_ai : game.game_status.white_ai;
        if (computer && game.opening > 0) game.opening--;
        const game_state before = game;
        play_half_move(&game, m.src, m.dst, m.ascend);
        record_move(record, before, m);
    }
    return game;
}

bool start_with(std::vector<std::string> words, game_start *out, std::string *error) {
    // The runs here claim the games they resume in a state folder of their own.
    setenv("XDG_STATE_HOME", temp_path("state").c_str(), 1);
    std::vector<char *> argv;
    for (std::string &w : words) argv.push_back(w.data());
    return prepare_game(static_cast<int>(argv.size()), argv.data(), out, error);
}

} // namespace

TEST(GameStart, ResumingRestoresTheWholeGameState) {
    const std::string path = temp_path("record.pgn");
    for (unsigned seed = 1; seed <= 30; seed++) {
        game_options options;
        options.white_ai = seed % 3 == 0;
        options.black_ai = seed % 2 == 0;
        game_record record;
        record.enabled = true;
        record.path = path;
        const game_state played =
            play_random(seed, static_cast<int>(seed * 7 % 90), options, &record);

        static game_start resumed;
        std::string error;
        ASSERT_TRUE(
            start_with({"RESUME=" + path, "PGN=" + temp_path("next.pgn")}, &resumed, &error))
            << error;
        EXPECT_TRUE(resumed.game == played) << "seed " << seed;
        EXPECT_EQ(resumed.game.opening, played.opening) << "seed " << seed;
        EXPECT_EQ(resumed.options.white_ai, options.white_ai);
        EXPECT_EQ(resumed.options.black_ai, options.black_ai);
        EXPECT_EQ(resumed.record.pgn.moves, record.pgn.moves);
    }
    std::remove(path.c_str());
    std::filesystem::remove_all(temp_path("state"));
}

TEST(GameStart, SidesAndSettingsComeFromTheRecordUnlessTheWordsSayOtherwise) {
    const std::string path = temp_path("settings.pgn");
    game_options options;
    options.white_ai = 1;
    options.black_ai = 0;
    options.ai.depth1 = 2;
    options.ai.depth2 = 5;
    options.ai.blunders = 7;
    options.ai.global_deadend_score = -700;
    options.ai.deadend_limit = 300;
    game_record record;
    record.enabled = true;
    record.path = path;
    play_random(5, 3, options, &record);

    static game_start resumed;
    std::string error;
    ASSERT_TRUE(start_with({"RESUME=" + path, "PGN=" + temp_path("n.pgn")}, &resumed, &error));
    EXPECT_EQ(resumed.options.white_ai, 1);
    EXPECT_EQ(resumed.options.black_ai, 0);
    EXPECT_EQ(resumed.options.ai.depth1, 2);
    EXPECT_EQ(resumed.options.ai.depth2, 5);
    EXPECT_EQ(resumed.options.ai.blunders, 7);
    EXPECT_EQ(resumed.options.ai.global_deadend_score, -700);
    EXPECT_EQ(resumed.options.ai.deadend_limit, 300);
    ASSERT_TRUE(
        start_with({"DEPTH2=4", "RESUME=" + path, "PGN=" + temp_path("n.pgn")}, &resumed, &error));
    EXPECT_EQ(resumed.options.ai.depth2, 4);
    EXPECT_EQ(resumed.options.ai.depth1, 2);
    std::remove(path.c_str());
    std::remove(temp_path("n.pgn").c_str());
    std::filesystem::remove_all(temp_path("state"));
}

TEST(GameStart, AFenStartTakesItsPositionWithoutTheBook) {
    static game_start start;
    std::string error;
    ASSERT_TRUE(start_with(
        {"FEN=r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 7 12", "PGN=" + temp_path("f.pgn")}, &start, &error))
        << error;
    EXPECT_EQ(start.game.game_status.turn, 1);
    EXPECT_EQ(start.game.game_status.moves_pawn_capture, 7u);
    EXPECT_EQ(start.game.turn_count, 24u); // Black's 12th move is half-move 24
    EXPECT_EQ(start.game.opening, 0);
    EXPECT_EQ(start.game.board.tiles[0][4], type_king | black_bit); // castling rights kept
    for (const char *bad : {"FEN=8/8/8/8/8/8/8/8 w - - 0 1", "FEN=4k3/8/8/8/8/8/8/4KK2 w - - 0 1",
                            "FEN=4k3/8/8/8/8/8/8/K3R3 w - - 0 1", "FEN=banana"}) {
        EXPECT_FALSE(start_with({bad}, &start, &error)) << bad;
        EXPECT_EQ(error.rfind("FEN=", 0), 0u) << error;
    }
    std::remove(temp_path("f.pgn").c_str());
    std::filesystem::remove_all(temp_path("state"));
}
