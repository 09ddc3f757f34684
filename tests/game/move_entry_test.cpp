#include "game/input/move_entry.h"
#include "game/running_game.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "rules/notation/fen.h"
#include "tests/support/board_builder.h"
#include "tests/support/run_captured.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Plays one person's move from `input` on the position and prints the resulting position,
// the history index and the move counter after a "==" line.
captured_run person_moves(const char *fen, const std::string &input, uint32_t counter = 5) {
    return run_captured(
        [&] {
            game_state game = game_from_fen(fen, counter);
            tile_cursor cursor;
            const uint8_t mover = game.game_status.turn;
            running_game run;
            get_move(&run, &game, &cursor, find_king(&game.board, game.game_status.turn));
            // The person's side printed, as before the move: the move is the whole half-move
            // (the other side is to move now), and the position is judged as the mover left it.
            game.game_status.turn = mover;
            std::printf("==\n%s\nlogged %d\n", format_fen(position_of(game, 1)).c_str(),
                        int(game.game_status.last_moves.index));
            const bool logged = game.game_status.last_moves.position[0].board == game.board;
            std::printf("%s\n", logged ? "same" : "different");
        },
        input);
}

std::string result(const captured_run &run) {
    const size_t at = run.output.find("==\n");
    return at == std::string::npos ? "" : run.output.substr(at + 3);
}

constexpr const char *start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

} // namespace

TEST(MoveEntry, APlayedMoveIsMadeCountedAndLogged) {
    const captured_run run = person_moves(start, "g1\nf3\n");
    EXPECT_EQ(run.status, returned_normally);
    EXPECT_EQ(result(run),
              "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - 6 1\nlogged 1\nsame\n");
    EXPECT_EQ(result(person_moves(start, "e2\nE4\n")),
              "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e3 0 1\nlogged 1\nsame\n");
    // A capture by a piece resets the counter as a pawn move does.
    EXPECT_EQ(result(person_moves("4k3/8/8/3p4/8/4N3/8/4K3 w - - 0 1", "e3\nd5\n")),
              "4k3/8/8/3N4/8/8/8/4K3 w - - 0 1\nlogged 1\nsame\n");
}

TEST(MoveEntry, AscensionAsksUntilOneOfTheEightLetters) {
    const char *fen = "4k3/P7/8/8/8/8/8/4K3 w - - 0 1";
    // N is no answer here (only with COMMANDS, where moves are typed in SAN).
    const captured_run run = person_moves(fen, "a7\na8\n\nz\nN\nn\nking\n");
    EXPECT_EQ(result(run), "N3k3/8/8/8/8/8/8/4K3 w - - 0 1\nlogged 1\nsame\n");
    EXPECT_EQ(result(person_moves(fen, "a7\na8\nR\n")),
              "R3k3/8/8/8/8/8/8/4K3 w - - 0 1\nlogged 1\nsame\n");
    // N is the knight's letter elsewhere, but not one of the eight: asked again.
    EXPECT_EQ(result(person_moves(fen, "a7\na8\nN\nn\nb\n")),
              "B3k3/8/8/8/8/8/8/4K3 w - - 0 1\nlogged 1\nsame\n");
}

TEST(MoveEntry, RefusalsLeaveTheBoardAlone) {
    // Illegal destination, the claim at the destination prompt, an abandoned selection and a
    // pinned piece, then a legal king move.
    const char *fen = "4r1k1/8/8/8/8/8/4R3/4K3 w - - 0 1";
    const captured_run run = person_moves(fen, "e2\nd2\n\ne2\ndraw\n\ne2\n\ne1\nf2\n");
    EXPECT_EQ(result(run), "4r1k1/8/8/8/8/8/4RK2/8 w - - 6 1\nlogged 1\nsame\n");
    size_t refusals = 0;
    for (size_t at = 0; (at = run.output.find("That move is not legal.", at)) != std::string::npos;
         at++)
        refusals++;
    EXPECT_EQ(refusals, 2u);
}

TEST(MoveEntry, LongLinesAreReadInPieces) {
    // 79 characters are read at a time: the rest of the line is the next answer.
    const std::string long_line = std::string(79, 'x') + "e2\ne4\n";
    const captured_run run = person_moves(start, long_line);
    EXPECT_EQ(result(run),
              "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e3 0 1\nlogged 1\nsame\n");
}
