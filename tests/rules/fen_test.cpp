#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "rules/notation/fen.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

TEST(Fen, LoadsTileBytesWithTheirFlags) {
    const fen_position pos = position_from_fen("r3k2r/p7/8/3Pp3/8/8/P6P/R3K2R w Kq e6 12 30");
    const auto at = [&](const char *name) {
        const coord sq = square(name);
        return pos.board.tiles[sq.row][sq.col];
    };
    EXPECT_EQ(at("a2"), 1);         // on its starting row: unmoved
    EXPECT_EQ(at("d5"), 2);         // elsewhere: moved
    EXPECT_EQ(at("e5"), 0xC0 | 10); // just made the two-square step
    EXPECT_EQ(at("a7"), 9);
    EXPECT_EQ(at("e1"), 7);    // White keeps a right: king unflagged
    EXPECT_EQ(at("h1"), 3);    // K
    EXPECT_EQ(at("a1"), 0x83); // no Q
    EXPECT_EQ(at("e8"), 15);
    EXPECT_EQ(at("a8"), 11);
    EXPECT_EQ(at("h8"), 0x8B);
    EXPECT_EQ(pos.turn, 0);
    EXPECT_EQ(pos.halfmoves, 12u);
    EXPECT_EQ(pos.fullmoves, 30u);
    EXPECT_EQ(format_fen(pos), "r3k2r/p7/8/3Pp3/8/8/P6P/R3K2R w Kq e6 12 30");
}

TEST(Fen, AKingWithoutRightsIsFlagged) {
    const fen_position pos = position_from_fen("4k3/8/8/8/8/8/8/R3K2R b - - 0 1");
    EXPECT_EQ(pos.board.tiles[7][4], 0x87);
    EXPECT_EQ(pos.turn, 1);
    EXPECT_EQ(format_fen(pos), "4k3/8/8/8/8/8/8/R3K2R b - - 0 1");
}

TEST(Fen, RefusesBrokenText) {
    fen_position pos;
    std::string error;
    for (const char *bad : {"", "8/8/8/8/8/8/8/8 w - - 0 1", "rnbqkbnr/pppppppp/8/8 w - - 0 1",
                            "4k3/8/8/8/8/8/8/4K3 x - - 0 1", "4k3/8/8/8/8/8/8/4K4 w - - 0 1",
                            "4k3/8/8/8/8/8/8/4KX2 w - - 0 1", "P3k3/8/8/8/8/8/8/4K3 w - - 0 1",
                            "4k3/8/8/8/8/8/8/4K3 w - z9 0 1", "4k3/8/8/8/8/8/8/4K3 w - - x 1"}) {
        EXPECT_FALSE(load_fen(bad, &pos, &error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

TEST(Fen, ErrorShowsAByteOutsideAsciiEscaped) {
    fen_position pos;
    std::string error;
    // é is two bytes in UTF-8: the message names the first whole, not half a character.
    EXPECT_FALSE(load_fen("4k3/8/8/8/8/8/8/4K2\xC3\xA9 w - - 0 1", &pos, &error));
    EXPECT_EQ(error, "Unknown piece letter or too many squares: '\\xC3'.");
    EXPECT_FALSE(load_fen("4k3/8/8/8/8/8/8/4K2\x01 w - - 0 1", &pos, &error));
    EXPECT_EQ(error, "Unknown piece letter or too many squares: '\\x01'.");
}

TEST(Fen, UnreachablePositionsAreNamed) {
    // The side that just moved left its king attacked.
    EXPECT_STREQ(unreachable_position(position_from_fen("4k3/8/8/8/8/8/8/4K2r b - - 0 1")),
                 "the side not to move is in check");
    EXPECT_STREQ(unreachable_position(position_from_fen("8/8/8/8/8/3k4/3K4/8 w - - 0 1")),
                 "the kings stand next to each other");
    EXPECT_STREQ(unreachable_position(position_from_fen("8/8/8/8/4k3/3K4/8/8 b - - 0 1")),
                 "the kings stand next to each other");
    // The side to move may be in check; kings two squares apart are fine.
    EXPECT_EQ(unreachable_position(position_from_fen("4k3/8/8/8/8/8/8/4K2r w - - 0 1")), nullptr);
    EXPECT_EQ(unreachable_position(position_from_fen("8/8/8/3k4/8/3K4/8/8 w - - 0 1")), nullptr);
}

// An en-passant square counts only where the pawn of the side that just moved can have
// crossed it; otherwise no pawn carries the flag, and the square is named as ignored.
TEST(Fen, AnImpossibleEnPassantSquareIsIgnored) {
    struct ignored_case {
        const char *fen;
        const char *why;
    };
    const ignored_case cases[] = {
        {"4k3/8/4N3/3Pp3/8/8/8/4K3 w - e6 0 1", "e6 is not empty"},
        {"4k3/4b3/8/3Pp3/8/8/8/4K3 w - e6 0 1", "e7, where the pawn started, is not empty"},
        {"4k3/8/8/3P4/8/8/8/4K3 w - e6 0 1", "no black pawn stands on e5"},
        {"4k3/8/8/3PP3/8/8/8/4K3 w - e6 0 1", "no black pawn stands on e5"},
        {"4k3/8/8/8/3pP3/8/8/4K3 w - e3 0 1", "with White to move it must be on rank 6"},
        // The same, mirrored: Black to move.
        {"4k3/8/8/8/3pP3/4n3/8/4K3 b - e3 0 1", "e3 is not empty"},
        {"4k3/8/8/8/3pP3/8/4B3/4K3 b - e3 0 1", "e2, where the pawn started, is not empty"},
        {"4k3/8/8/8/3p4/8/8/4K3 b - e3 0 1", "no white pawn stands on e4"},
        {"4k3/8/8/3Pp3/8/8/8/4K3 b - e6 0 1", "with Black to move it must be on rank 3"},
    };
    for (const ignored_case &c : cases) {
        fen_position pos;
        std::string error, ignored;
        ASSERT_TRUE(load_fen(c.fen, &pos, &error, &ignored)) << c.fen << ": " << error;
        const std::string square = std::string(c.fen).substr(std::string(c.fen).find(" - ") + 3, 2);
        EXPECT_EQ(ignored, "the en-passant square " + square + " is ignored: " + c.why) << c.fen;
        for (const auto &row : pos.board.tiles)
            for (uint8_t tile : row) EXPECT_FALSE(tile & en_passant_flag) << c.fen;
        EXPECT_NE(format_fen(pos).find(" - 0 1"), std::string::npos) << format_fen(pos);
    }
    for (const char *usable :
         {"4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1", "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1"}) {
        fen_position pos;
        std::string error, ignored = "left over";
        ASSERT_TRUE(load_fen(usable, &pos, &error, &ignored)) << error;
        EXPECT_EQ(ignored, "") << usable;
        EXPECT_EQ(format_fen(pos), usable);
    }
}
