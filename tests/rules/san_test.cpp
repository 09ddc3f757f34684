#include "rules/notation/san.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string san_of(const std::string &fen, const char *from, const char *to, uint8_t ascend = 0) {
    const fen_position pos = position_from_fen(fen);
    return format_san(pos.board, pos.turn, square(from), square(to), ascend);
}

// The move a text names, as "e2e4" or "e7e8q", or the parser's error.
std::string parsed(const std::string &fen, const std::string &text) {
    const fen_position pos = position_from_fen(fen);
    san_move m{};
    std::string error;
    if (!parse_san(pos.board, pos.turn, text, &m, &error)) return error;
    std::string out = square_name(m.src) + square_name(m.dst);
    if (m.ascend) out += " rnbq"[m.ascend - type_rook + 1];
    return out;
}

} // namespace

TEST(San, DisambiguatesByFileThenRankThenBoth) {
    // Knights b1 and f1 both reach d2: the file tells them apart.
    const std::string knights_on_rank = "4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1";
    EXPECT_EQ(san_of(knights_on_rank, "b1", "d2"), "Nbd2");
    EXPECT_EQ(san_of(knights_on_rank, "f1", "d2"), "Nfd2");
    EXPECT_EQ(san_of(knights_on_rank, "b1", "c3"), "Nc3"); // only one reaches c3
    // Knights g1 and g5 share the file: the rank tells them apart.
    const std::string knights_on_file = "4k3/8/8/6N1/8/8/8/4K1N1 w - - 0 1";
    EXPECT_EQ(san_of(knights_on_file, "g1", "f3"), "N1f3");
    EXPECT_EQ(san_of(knights_on_file, "g5", "f3"), "N5f3");
    // Rooks: a1 and h1 on one rank, a1 and a5 on one file; a capture keeps its letter.
    const std::string rooks = "4k3/8/8/R7/8/p7/8/R5KR w - - 0 1";
    EXPECT_EQ(san_of(rooks, "a1", "a3"), "R1xa3");
    EXPECT_EQ(san_of(rooks, "a5", "a3"), "R5xa3");
    EXPECT_EQ(san_of("4k3/8/8/8/8/8/8/R3K2R w - - 0 1", "h1", "f1"), "Rf1");
    EXPECT_EQ(san_of("4k3/8/8/8/8/8/4K3/R6R w - - 0 1", "a1", "c1"), "Rac1");
    // Three queens on a1, a3 and c1 all reach b2: a3 by its rank, c1 by its file, a1 needs
    // both because a3 shares its file and c1 its rank.
    const std::string queens = "8/8/8/7k/8/Q7/8/Q1Q3K1 w - - 0 1";
    EXPECT_EQ(san_of(queens, "a1", "b2"), "Qa1b2");
    EXPECT_EQ(san_of(queens, "a3", "b2"), "Q3b2");
    EXPECT_EQ(san_of(queens, "c1", "b2"), "Qcb2");
    for (const char *text : {"Qa1b2", "Q3b2", "Qcb2", "Qa1-b2"})
        EXPECT_NE(parsed(queens, text).find("b2"), std::string::npos) << text;
    EXPECT_EQ(parsed(queens, "Qb2"), "ambiguous move");
    EXPECT_EQ(parsed(queens, "Qab2"), "ambiguous move");
    EXPECT_EQ(parsed(queens, "Q1b2"), "ambiguous move");
    EXPECT_EQ(parsed(queens, "Qa1b2"), "a1b2");
}

TEST(San, APinnedPieceDoesNotCallForDisambiguation) {
    // The knight on e3 is pinned by the rook on e8: only the g3 knight can go to f5.
    const std::string fen = "4r1k1/8/8/8/8/4N1N1/8/4K3 w - - 0 1";
    EXPECT_EQ(san_of(fen, "g3", "f5"), "Nf5");
    EXPECT_EQ(san_of(fen, "e3", "f5"), ""); // not a legal move
    EXPECT_EQ(parsed(fen, "Nf5"), "g3f5");
    EXPECT_EQ(parsed(fen, "Nef5"), "illegal move");
    EXPECT_EQ(parsed(fen, "Ngf5"), "g3f5"); // needless detail is still read
}

TEST(San, AscensionWithCaptureAndCheck) {
    const std::string fen = "3r3k/4P3/8/8/8/8/8/4K3 w - - 0 1";
    EXPECT_EQ(san_of(fen, "e7", "d8", type_queen), "exd8=Q+");
    EXPECT_EQ(san_of(fen, "e7", "d8", type_rook), "exd8=R+");
    EXPECT_EQ(san_of(fen, "e7", "d8", type_knight), "exd8=N");
    EXPECT_EQ(san_of(fen, "e7", "d8", 0), "exd8=Q+"); // none chosen: a queen
    EXPECT_EQ(san_of(fen, "e7", "e8", type_bishop), "e8=B");
    for (const char *text : {"exd8=Q+", "exd8Q", "exd8=Q", "e7d8q", "exd8(Q)", "exd8/Q"})
        EXPECT_EQ(parsed(fen, text), "e7d8q") << text;
    EXPECT_EQ(parsed(fen, "exd8=N"), "e7d8n");
    EXPECT_EQ(parsed(fen, "exd8"), "e7d8q"); // no piece named: a queen
    EXPECT_EQ(parsed(fen, "e8=K"), "not a move");
    // Black ascends toward rank 1.
    EXPECT_EQ(san_of("4k3/8/8/8/8/8/p7/1N2K3 b - - 0 1", "a2", "b1", type_queen), "axb1=Q+");
}

TEST(San, CastlingEnPassantAndMate) {
    // The rook arriving on f1 mates the king on f8, walled in by its own pieces.
    const std::string castle_mate = "4rkr1/4p1p1/8/8/8/8/8/4K2R w K - 0 1";
    EXPECT_EQ(san_of(castle_mate, "e1", "g1"), "O-O#");
    EXPECT_EQ(san_of(castle_mate, "e1", "f1"), "Kf1");
    for (const char *text : {"O-O#", "O-O", "0-0", "e1g1", "Ke1g1"})
        EXPECT_EQ(parsed(castle_mate, text), "e1g1") << text;
    EXPECT_EQ(parsed(castle_mate, "Kg1"), "illegal move"); // castling is written as such
    EXPECT_EQ(parsed(castle_mate, "O-O-O"), "illegal move");
    EXPECT_EQ(san_of("r3k3/8/8/8/8/8/8/4K3 b q - 0 1", "e8", "c8"), "O-O-O");
    EXPECT_EQ(parsed("r3k3/8/8/8/8/8/8/4K3 b q - 0 1", "0-0-0"), "e8c8");

    const std::string en_passant = "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1";
    EXPECT_EQ(san_of(en_passant, "e5", "d6"), "exd6");
    for (const char *text : {"exd6", "exd6e.p.", "ed6", "e5d6", "xd6"})
        EXPECT_EQ(parsed(en_passant, text), "e5d6") << text;
    EXPECT_EQ(parsed(en_passant, "d6"), "illegal move"); // a pawn without a file goes straight
    // Taking en passant would open the rank to the rook: not a move.
    EXPECT_EQ(parsed("8/8/8/K2pP2r/8/8/8/7k w - d6 0 1", "exd6"), "illegal move");

    const std::string scholar = "r1bqkbnr/pppp1ppp/2n5/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4";
    EXPECT_EQ(san_of(scholar, "h5", "f7"), "Qxf7#");
    EXPECT_EQ(san_of(scholar, "c4", "f7"), "Bxf7+");
    // Stalemating is neither check nor mate.
    EXPECT_EQ(san_of("7k/8/6Q1/8/8/8/8/4K3 w - - 0 1", "g6", "f7"), "Qf7");
}

TEST(San, RefusesTextThatNamesNoLegalMove) {
    const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    EXPECT_EQ(parsed(start, "e4!?"), "e2e4");
    EXPECT_EQ(parsed(start, "Nf3"), "g1f3");
    EXPECT_EQ(parsed(start, "g1f3"), "g1f3");
    EXPECT_EQ(parsed(start, "e5"), "illegal move");  // a Black move on White's turn
    EXPECT_EQ(parsed(start, "Ne2"), "illegal move"); // blocked
    EXPECT_EQ(parsed(start, "Nd2"), "illegal move");
    EXPECT_EQ(parsed(start, "e2e5"), "illegal move");
    EXPECT_EQ(parsed(start, "e4=Q"), "illegal move");
    EXPECT_EQ(parsed(start, "Nf3f3"), "illegal move");
    for (const char *text : {"", "+", "hello", "e9", "i4", "Xe4", "--", "e2e4e5", "Nf3xxx",
                             "0-0-0-0", "e4 ", "1.e4", "\xff\xfe"})
        EXPECT_EQ(parsed(start, text), "not a move") << text;
    EXPECT_EQ(format_san(position_from_fen(start).board, 0, square("e2"), square("e5"), 0), "");
    EXPECT_EQ(format_san(position_from_fen(start).board, 1, square("e2"), square("e4"), 0), "");
    EXPECT_EQ(format_san(position_from_fen(start).board, 0, coord{9, 0}, square("e4"), 0), "");
}

// Every legal move of tricky positions reads back as itself: a disambiguation that is too
// short would read as ambiguous, a wrong one as another move.
TEST(San, EveryLegalMoveReadsBackAsItself) {
    for (const char *fen :
         {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
          "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
          "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
          "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 b kq - 0 1",
          "1k6/8/8/3N1N2/2N3N1/3N1N2/8/K7 w - - 0 1", "Q6Q/8/8/8/8/8/7k/Q1K4Q w - - 0 1",
          "4k3/1P6/8/8/8/8/6p1/4K3 b - - 0 1", "8/8/8/K2pP2r/8/8/8/7k w - d6 0 1"}) {
        const fen_position pos = position_from_fen(fen);
        side_move_list legal;
        side_legal_moves(pos.board, pos.turn, &legal);
        ASSERT_GT(legal.count, 0) << fen;
        for (int i = 0; i < legal.count; i++) {
            const san_move m = legal.moves[i];
            const std::string san = format_san(pos.board, pos.turn, m.src, m.dst, m.ascend);
            san_move back{};
            std::string error;
            ASSERT_TRUE(parse_san(pos.board, pos.turn, san, &back, &error))
                << fen << " " << san << ": " << error;
            EXPECT_EQ(back, m) << fen << " " << san;
        }
    }
}

TEST(San, ListsAscensionsOnceForEachPieceAndAllMovesOfTheStart) {
    side_move_list legal;
    side_legal_moves(position_from_fen("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1").board, 0, &legal);
    int ascensions = 0;
    for (int i = 0; i < legal.count; i++) ascensions += legal.moves[i].ascend != 0;
    EXPECT_EQ(ascensions, 4);
    side_legal_moves(
        position_from_fen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1").board, 1,
        &legal);
    EXPECT_EQ(legal.count, 20);
}
