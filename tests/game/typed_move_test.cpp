// Whole moves typed at "Select piece.": every legal move of random games in its SAN (with and
// without its check mark) and in coordinates reads back as that move; a SAN stripped of its
// disambiguation is refused as ambiguous and names the moves it could be; illegal moves say
// why.
#include "game/input/typed_move.h"
#include "rules/notation/notation.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string coordinates(const san_move &m) {
    std::string text = square_name(m.src) + square_name(m.dst);
    if (m.ascend) text += coordinate_ascension_letters[m.ascend];
    return text;
}

// A piece move's SAN without the file or rank that tells the piece from its twin: "Nbd2" is
// "Nd2", "R1xa3" is "Rxa3". Any other SAN stays as it is.
std::string without_disambiguation(const std::string &bare) {
    if (std::string("KQRBN").find(bare[0]) == std::string::npos) return bare;
    const bool capture = bare[bare.size() - 3] == 'x';
    return bare.substr(0, 1) + (capture ? "x" : "") + bare.substr(bare.size() - 2);
}

void expect_reads_as(const game_state &game, const std::string &text, const san_move &m,
                     bool named) {
    const typed_move typed = read_typed_move(game, (text + "\n").c_str());
    ASSERT_EQ(typed.kind, typed_kind::move) << text << ": " << typed.refusal;
    EXPECT_EQ(typed.move, m) << text;
    EXPECT_EQ(typed.ascension_named, named) << text;
}

std::string refusal(const char *fen, const char *text) {
    const typed_move typed = read_typed_move(game_from_fen(fen, 0), text);
    EXPECT_EQ(typed.kind, typed_kind::refused) << text;
    return typed.refusal;
}

} // namespace

TEST(TypedMove, EveryLegalMoveReadsBackFromItsSanAndItsCoordinates) {
    int ambiguous = 0, ascensions = 0;
    for (unsigned seed = 1; seed <= 40; seed++) {
        std::mt19937 rng(seed);
        game_state game =
            game_from_fen(seed % 2 ? "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
                                   : "r3k2r/1P4P1/8/2N1N3/8/2n1n3/1p4p1/R3K2R w KQkq - 0 1",
                          0);
        for (int ply = 0; ply < 60; ply++) {
            side_move_list legal;
            const uint8_t turn = game.game_status.turn;
            side_legal_moves(game.board, turn, &legal);
            if (legal.count == 0) break;
            for (int i = 0; i < legal.count; i++) {
                const san_move &m = legal.moves[i];
                const std::string san = format_san(game.board, turn, m.src, m.dst, m.ascend);
                const std::string bare = san.substr(0, san.find_first_of("+#"));
                if (bare.size() > 2) {
                    expect_reads_as(game, "  " + san + " ", m, m.ascend != 0);
                    expect_reads_as(game, bare, m, m.ascend != 0);
                } // a pawn's step such as "e4" is a square (below)
                expect_reads_as(game, coordinates(m), m, m.ascend != 0);
                if (m.ascend) { // without its piece: the person is asked which one
                    ascensions++;
                    expect_reads_as(game, coordinates(m).substr(0, 4), {m.src, m.dst, type_queen},
                                    false);
                }
                const std::string text = without_disambiguation(bare);
                const bool disambiguated = text != bare;
                if (disambiguated) {
                    ambiguous++;
                    const typed_move typed = read_typed_move(game, text.c_str());
                    ASSERT_EQ(typed.kind, typed_kind::refused) << san << " as " << text;
                    EXPECT_EQ(typed.refusal.rfind(text + " is ambiguous: ", 0), 0u)
                        << typed.refusal;
                    EXPECT_NE(typed.refusal.find(bare), std::string::npos) << typed.refusal;
                }
            }
            const san_move m = legal.moves[rng() % unsigned(legal.count)];
            play_half_move(&game, m.src, m.dst, m.ascend);
        }
    }
    EXPECT_GT(ambiguous, 20);
    EXPECT_GT(ascensions, 20);
}

TEST(TypedMove, SquaresCommandsAndOtherTextAreNoMoves) {
    const game_state game = game_from_fen("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", 0);
    // "e2" holds White's pawn: it chooses it; "e5" has no piece and no move.
    for (const char *line : {"e5\n", " e2 \n", "\n", "undo\n", "hint\n", "zz9\n", "e2x\n", "Nf9\n"})
        EXPECT_EQ(read_typed_move(game, line).kind, typed_kind::not_a_move) << line;
    // A square without a piece of the mover's, where one pawn goes, is that pawn's move; on
    // the last row its piece is asked for.
    const typed_move step = read_typed_move(game, "e4");
    EXPECT_EQ(step.kind, typed_kind::move);
    EXPECT_EQ(step.move.src.row, 6);
    const typed_move last_row =
        read_typed_move(game_from_fen("4k3/P7/8/8/8/8/8/4K3 w - - 0 1", 0), "a8");
    EXPECT_EQ(last_row.kind, typed_kind::move);
    EXPECT_FALSE(last_row.ascension_named);
}

TEST(TypedMove, IllegalMovesSayWhy) {
    // The bishop on e2 is pinned by the rook on e8.
    const char *pinned = "4r1k1/8/8/8/8/8/4B3/R3K2R w KQ - 0 1";
    EXPECT_EQ(refusal(pinned, "Bd3"), "Bd3 is not legal: it would leave your king in check.");
    EXPECT_EQ(refusal(pinned, "e2d3"), "e2d3 is not legal: it would leave your king in check.");
    EXPECT_EQ(refusal(pinned, "Bd2"), "Bd2 is not legal: no bishop of yours can move to d2.");
    EXPECT_EQ(refusal(pinned, "Kd3"), "Kd3 is not legal: no king of yours can move to d3.");
    EXPECT_EQ(refusal(pinned, "Qd1"), "Qd1 is not legal: no queen of yours can move to d1.");
    EXPECT_EQ(refusal(pinned, "exd4"), "exd4 is not legal: no pawn of yours can take on d4.");
    EXPECT_EQ(refusal(pinned, "a7a8"), "a7a8 is not legal: there is no piece on a7.");
    EXPECT_EQ(refusal(pinned, "e8e7"), "e8e7 is not legal: the piece on e8 is not yours.");
    EXPECT_EQ(refusal(pinned, "a1b2"), "a1b2 is not legal: the rook on a1 cannot move to b2.");
    EXPECT_EQ(refusal(pinned, "e4=Q"), "e4=Q is not legal: only a pawn reaching the last row "
                                       "ascends.");
    // In check: the rook on h1 gives it; Kd2 and Kf2 stand next to e1 but are attacked.
    const char *checked = "4k3/8/8/8/8/8/3r1r2/1N2K2r w - - 0 1";
    EXPECT_EQ(refusal(checked, "Nc3"), "Nc3 is not legal: your king would still be in check.");
    EXPECT_EQ(refusal(checked, "Kf1"), "Kf1 is not legal: your king would be in check on f1.");
    EXPECT_EQ(refusal(checked, "e1d1"), "e1d1 is not legal: your king would be in check on d1.");
    EXPECT_EQ(refusal(checked, "O-O"), "O-O is not legal: your king is in check.");
    // Castling: each of its conditions.
    EXPECT_EQ(refusal("4k3/8/8/8/8/8/8/RN2K2R w Q - 0 1", "O-O"),
              "O-O is not legal: there is no unmoved rook of yours on h1.");
    EXPECT_EQ(refusal("4k3/8/8/8/8/8/8/RN2K2R w Q - 0 1", "0-0-0"),
              "0-0-0 is not legal: a piece stands between your king and rook.");
    EXPECT_EQ(refusal("4k3/8/8/8/8/8/8/R3K2R w - - 0 1", "O-O"),
              "O-O is not legal: your king has moved.");
    EXPECT_EQ(refusal("4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1", "O-O+"),
              "O-O+ is not legal: your king would cross or land on an attacked square.");
    // Black's side and Black's rook.
    EXPECT_EQ(refusal("r3k3/8/8/8/8/8/8/4K3 b q - 0 1", "O-O"),
              "O-O is not legal: there is no unmoved rook of yours on h8.");
}
