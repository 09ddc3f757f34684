#include "game/records/game_replay.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string replay_error(const fen_position &start, const std::vector<std::string> &tokens) {
    replayed_game out;
    std::string error;
    EXPECT_FALSE(replay_moves(start, tokens, &out, &error));
    return error;
}

fen_position start_of(const std::string &fen) {
    pgn_game game;
    game.tags = {{"SetUp", "1"}, {"FEN", fen}};
    fen_position start;
    std::string error;
    EXPECT_TRUE(record_start_position(game, &start, &error)) << error;
    return start;
}

} // namespace

// Final positions as an independent PGN reader (pgn-extract -F) gives them.
TEST(GameReplay, EndsInThePositionAnotherReaderFinds) {
    replayed_game out;
    std::string error;
    ASSERT_TRUE(replay_moves(usual_start_position(),
                             {"e4", "e5", "Qh5", "Nc6", "Bc4", "Nf6", "Qxf7#"}, &out, &error))
        << error;
    EXPECT_EQ(format_fen(out.final_position),
              "r1bqkb1r/pppp1Qpp/2n2n2/4p3/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq - 0 4");
    ASSERT_EQ(out.moves.size(), 7u);
    EXPECT_EQ(out.moves[6], (san_move{{3, 7}, {1, 5}, 0}));

    ASSERT_TRUE(replay_moves(
        usual_start_position(),
        {"e4", "e5", "Nf3", "Nc6", "Bc4", "Bc5", "O-O", "Nf6", "d4", "exd4", "e5", "d5", "exd6"},
        &out, &error))
        << error;
    EXPECT_EQ(format_fen(out.final_position),
              "r1bqk2r/ppp2ppp/2nP1n2/2b5/2Bp4/5N2/PPP2PPP/RNBQ1RK1 b kq - 0 7");

    ASSERT_TRUE(replay_moves(start_of("3r3k/4P3/8/8/8/8/8/4K3 w - - 0 1"),
                             {"exd8=Q+", "Kg7", "Qd4+", "Kg8"}, &out, &error))
        << error;
    EXPECT_EQ(format_fen(out.final_position), "6k1/8/8/8/3Q4/8/8/4K3 w - - 3 3");
    EXPECT_EQ(out.moves[0].ascend, type_queen);
}

TEST(GameReplay, StartsFromTheFenTagWithBlackToMove) {
    replayed_game out;
    std::string error;
    ASSERT_TRUE(replay_moves(start_of("r3k2r/8/8/8/4p3/8/3P4/R3K2R w KQkq - 5 30"),
                             {"d4", "exd3", "O-O-O", "O-O"}, &out, &error))
        << error;
    EXPECT_EQ(format_fen(out.final_position), "r4rk1/8/8/8/8/3p4/8/2KR3R w - - 2 32");
    EXPECT_EQ(replay_error(start_of("4k3/8/8/8/8/8/8/R3K2R b KQ - 0 12"), {"Kd7", "Rd1", "Rd8"}),
              "move 13... (Rd8): illegal move");
    EXPECT_EQ(replay_error(usual_start_position(), {"e4", "e5", "Nc3", "Nc6", "Ne2"}),
              "move 3 (Ne2): ambiguous move");
    EXPECT_EQ(replay_error(usual_start_position(), {"e4", "e5", "Ke3"}),
              "move 2 (Ke3): illegal move");
    EXPECT_EQ(replay_error(usual_start_position(), {"e4", "e5!!!x"}),
              "move 1... (e5!!!x): not a move");
    // Nothing may be played after mate.
    EXPECT_EQ(replay_error(usual_start_position(), {"f3", "e5", "g4", "Qh4#", "a3"}),
              "move 3 (a3): illegal move");
}

TEST(GameReplay, RefusesStartsTheGameCannotPlay) {
    pgn_game game;
    fen_position start;
    std::string error;
    ASSERT_TRUE(record_start_position(game, &start, &error));
    EXPECT_EQ(format_fen(start), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");

    game.tags = {{"SetUp", "1"}};
    EXPECT_FALSE(record_start_position(game, &start, &error));
    EXPECT_EQ(error, "the SetUp tag asks for a FEN tag, and there is none");
    game.tags = {{"FEN", "4k3/8/8/8/8/8/8/4K2K w - - 0 1"}};
    EXPECT_FALSE(record_start_position(game, &start, &error));
    EXPECT_EQ(error, "bad FEN tag: Each side needs exactly one king.");

    // White to move while Black's king is attacked: the last move cannot have been legal.
    EXPECT_EQ(replay_error(start_of("4k3/8/8/8/8/8/8/4RK2 w - - 0 1"), {}),
              "in the start position the side not to move is in check");
    fen_position kingless = usual_start_position();
    kingless.board.tiles[0][4] = 0;
    EXPECT_EQ(replay_error(kingless, {}), "the start position lacks a king");
}
