// The standard draw rules: positions compared by pieces, side to move, castling rights and
// en-passant possibility over the whole game; dead positions; mating material on a flag fall.
#include "rules/fide_draws.h"
#include "rules/mating_material.h"
#include "rules/move_piece.h"
#include "rules/notation/san.h"
#include "rules/position_key.h"
#include "rules/time/flag_fall.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

constexpr const char *start_fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char *knights_dance = "g1f3 g8f6 f3g1 f6g8";

// A game played move by move as the turn loop plays it, with its whole history.
struct played_game {
    game_state game;
    position_history history;

    explicit played_game(const char *fen) : game(game_from_fen(fen, 0)) { note(); }
    void note() { note_position(&history, game.board, game.game_status.turn); }
    void play(const std::string &moves) {
        std::istringstream words(moves);
        std::string word;
        while (words >> word) {
            san_move m{};
            std::string error;
            ASSERT_TRUE(parse_san(game.board, game.game_status.turn, word, &m, &error)) << word;
            if (play_move(&game, m.src, m.dst)) ascend_piece(&game.board, m.dst, m.ascend);
            game.game_status.turn = !game.game_status.turn;
            note();
        }
    }
    fide_judgement judge() const {
        return judge_fide(game.board, game.game_status.turn, game.game_status.moves_pawn_capture,
                          history);
    }
    position_key key() const { return key_of(game.board, game.game_status.turn); }
};

position_key fen_key(const char *fen) {
    const fen_position pos = position_from_fen(fen);
    return key_of(pos.board, pos.turn);
}

} // namespace

TEST(FideRepetition, TheKnightsDanceRepeatsTheStartPosition) {
    played_game g(start_fen);
    g.play(knights_dance);
    EXPECT_EQ(g.key(), fen_key(start_fen)); // the knights' has-moved flags do not count
    EXPECT_FALSE(g.judge().threefold);
    g.play(knights_dance);
    fide_judgement j = g.judge();
    EXPECT_TRUE(j.threefold); // the third time: a draw may be claimed
    EXPECT_TRUE(draw_claimable(j));
    EXPECT_EQ(j.end, fide_end::none);
    EXPECT_STREQ(fide_claim_message(j), "Draw claimed: Third repetition.");
    g.play(knights_dance);
    EXPECT_EQ(g.judge().end, fide_end::none); // the fourth
    g.play("g1f3 g8f6 f3g1");
    EXPECT_EQ(g.judge().end, fide_end::none);
    g.play("f6g8");
    j = g.judge();
    EXPECT_EQ(j.end, fide_end::fivefold_repetition); // the fifth ends the game
    EXPECT_TRUE(j.threefold);
    EXPECT_STREQ(fide_draw_message(j.end), "Draw: Fifth repetition.");
}

TEST(FideRepetition, TheSideToMoveTellsPositionsApart) {
    // The same pieces with Black to move: a knight out and back takes White three moves.
    played_game g(start_fen);
    g.play("g1f3 g8f6 f3g1 f6g8 b1c3 b8c6 c3b1");
    const position_key black_to_move = g.key();
    EXPECT_EQ(occurrences(g.history, black_to_move), 1u);
    g.play("c6b8");
    EXPECT_NE(black_to_move, g.key());
    EXPECT_EQ(occurrences(g.history, g.key()), 3u);
}

TEST(FideRepetition, CastlingRightsTellPositionsApart) {
    constexpr const char *rooks = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    played_game g(rooks);
    EXPECT_EQ(castling_rights(g.game.board), 15);
    g.play("h1g1 h8g8 g1h1 g8h8"); // the same squares, but the h-rooks have moved
    EXPECT_EQ(castling_rights(g.game.board), castle_white_queen_side | castle_black_queen_side);
    EXPECT_NE(g.key(), fen_key(rooks));
    EXPECT_EQ(g.key(), fen_key("r3k2r/8/8/8/8/8/8/R3K2R w Qq - 0 1"));
    g.play("h1g1 h8g8 g1h1 g8h8 h1g1 h8g8 g1h1 g8h8");
    EXPECT_EQ(occurrences(g.history, fen_key(rooks)), 1u);
    EXPECT_TRUE(g.judge().threefold); // the position without the rights, three times
    // A king that has moved keeps no right with either rook.
    played_game king(rooks);
    king.play("e1f1 e8f8 f1e1 f8e8");
    EXPECT_EQ(castling_rights(king.game.board), 0);
    // A right held while castling is blocked counts as a right.
    EXPECT_EQ(castling_rights(board_from_fen("rn2k1nr/8/8/8/8/8/8/RN2K1NR w KQkq - 0 1")), 15);
}

TEST(FideRepetition, EnPassantCountsOnlyWhenTheCaptureIsPossible) {
    // No Black pawn beside e4: the double step leaves nothing to take.
    played_game lone("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
    lone.play("e2e4");
    EXPECT_EQ(lone.key().en_passant_col, no_en_passant);
    EXPECT_EQ(lone.key(), fen_key("4k3/8/8/8/4P3/8/8/4K3 b - - 0 1"));
    // A Black pawn on d4 can take: the position differs from the same one without the right.
    played_game beside("4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1");
    beside.play("e2e4");
    EXPECT_EQ(beside.key().en_passant_col, 4);
    EXPECT_NE(beside.key(), fen_key("4k3/8/8/8/3pP3/8/8/4K3 b - - 0 1"));
    EXPECT_EQ(beside.key(), fen_key("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1"));
    // The capture would leave Black's king to the rook on h4: no right.
    played_game pinned("8/8/8/8/k2p3R/8/4P3/4K3 w - - 0 1");
    pinned.play("e2e4");
    EXPECT_EQ(pinned.key().en_passant_col, no_en_passant);
    // The right lasts one move: after it the position compares without it.
    beside.play("e8d8 e1d1 d8e8 d1e1");
    EXPECT_EQ(beside.key().en_passant_col, no_en_passant);
    EXPECT_EQ(occurrences(beside.history, beside.key()), 1u);
    beside.play("e8d8 e1d1 d8e8 d1e1");
    EXPECT_EQ(occurrences(beside.history, beside.key()), 2u);
}

TEST(FideEnds, TheMoveCounterClaimsAtHundredAndEndsAtHundredFifty) {
    const auto judge = [](const char *fen, uint32_t halfmoves) {
        played_game g(fen);
        return judge_fide(g.game.board, g.game.game_status.turn, halfmoves, g.history);
    };
    constexpr const char *quiet = "4k3/8/8/8/8/8/8/R3K3 w - - 0 1";
    EXPECT_FALSE(judge(quiet, 99).fifty_moves);
    EXPECT_TRUE(judge(quiet, 100).fifty_moves);
    EXPECT_EQ(judge(quiet, 100).end, fide_end::none);
    EXPECT_STREQ(fide_claim_message(judge(quiet, 100)),
                 "Draw claimed: 50 moves without pawn move or capture.");
    EXPECT_EQ(judge(quiet, 149).end, fide_end::none);
    EXPECT_EQ(judge(quiet, 150).end, fide_end::seventy_five_moves);
    // A mate on the 150th half-move stands.
    constexpr const char *mated = "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1";
    EXPECT_EQ(judge(mated, 150).end, fide_end::checkmate);
    EXPECT_TRUE(judge(mated, 150).in_check);
    EXPECT_EQ(judge("7k/5Q2/8/8/8/8/8/6K1 b - - 0 1", 0).end, fide_end::stalemate);
    EXPECT_TRUE(judge("4k3/8/8/8/8/8/8/4R1K1 b - - 0 1", 0).in_check);
    EXPECT_EQ(judge("4k3/8/8/8/8/8/8/4R1K1 b - - 0 1", 0).end, fide_end::none);
}

TEST(FideEnds, DeadPositionsAreDrawnAtOnce) {
    for (const char *dead : {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "4k3/8/8/8/8/8/8/4KN2 b - - 0 1",
                             "4kb2/8/8/8/8/8/8/4K3 w - - 0 1",
                             "4kb2/8/8/8/8/8/8/2B1K3 w - - 0 1", // f8 and c1: dark squares
                             "4k3/8/8/8/8/8/8/B1B1K3 w - - 0 1"}) {
        EXPECT_TRUE(dead_position(board_from_fen(dead))) << dead;
        played_game g(dead);
        EXPECT_EQ(g.judge().end, fide_end::dead_position) << dead;
    }
    for (const char *alive : {"4kb2/8/8/8/8/8/8/3BK3 w - - 0 1", // f8 dark, d1 light
                              "4kn2/8/8/8/8/8/8/4KN2 w - - 0 1", "4k3/8/8/8/8/8/8/4KNB1 w - - 0 1",
                              "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", "4k3/8/8/8/8/8/8/4K2R w - - 0 1",
                              "4k3/8/8/8/8/8/8/2N1KN2 w - - 0 1"})
        EXPECT_FALSE(dead_position(board_from_fen(alive))) << alive;
    EXPECT_STREQ(fide_draw_message(fide_end::dead_position), "Draw: Neither side can mate.");
    EXPECT_EQ(fide_draw_message(fide_end::checkmate), nullptr);
}

TEST(FlagFall, TheSideWithTimeLeftNeedsMatingMaterial) {
    const struct board start = board_from_fen(start_fen);
    flag_verdict v = flag_fall_verdict(start, side_white);
    EXPECT_STREQ(v.result, "0-1");
    EXPECT_EQ(v.message, "White's time is up. Black won.");
    v = flag_fall_verdict(start, side_black);
    EXPECT_STREQ(v.result, "1-0");
    EXPECT_EQ(v.message, "Black's time is up. White won.");
    // Black has a king and a knight: it cannot mate, whatever White has.
    const struct board knight = board_from_fen("4k3/8/8/8/8/8/8/4K1n1 w - - 0 1");
    v = flag_fall_verdict(knight, side_white);
    EXPECT_STREQ(v.result, "1/2-1/2");
    EXPECT_EQ(v.message, "White's time is up. Draw: Black cannot mate.");
    v = flag_fall_verdict(knight, side_black); // White has a king alone
    EXPECT_EQ(v.message, "Black's time is up. Draw: White cannot mate.");
    EXPECT_FALSE(can_mate(board_from_fen("4k3/8/8/8/8/8/8/QQQ1K1b1 w - - 0 1"), side_black));
    for (const char *enough : {"4k3/8/8/8/8/8/8/4K1nn w - - 0 1", "4k3/8/8/8/8/8/8/4K1nb w - - 0 1",
                               "4k3/8/8/8/8/8/p7/4K3 w - - 0 1", "4k3/8/8/8/8/8/8/4K1r1 w - - 0 1",
                               "4k3/8/8/8/8/8/8/4K1q1 w - - 0 1"})
        EXPECT_TRUE(can_mate(board_from_fen(enough), side_black)) << enough;
    EXPECT_STREQ(time_forfeit_termination, "time forfeit");
    // Under the standard rules a lone knight still wins on time when the other side has more
    // than its king: White's own rook can hem in its king.
    const struct board hemmed = board_from_fen("8/8/8/4k3/8/8/3n4/4K1R1 w - - 0 1");
    EXPECT_EQ(flag_fall_verdict(hemmed, side_white, true).message,
              "White's time is up. Black won.");
    EXPECT_STREQ(flag_fall_verdict(hemmed, side_white, false).result, "1/2-1/2");
    for (const char *drawn : {"4k3/8/8/8/8/8/8/4K1n1 w - - 0 1",   // a knight against a bare king
                              "4k3/8/8/8/8/8/8/QQQ1K3 w - - 0 1",  // a bare king
                              "4kb2/8/8/8/8/8/8/2B1K3 w - - 0 1"}) // dead: bishops on one colour
        EXPECT_STREQ(flag_fall_verdict(board_from_fen(drawn), side_white, true).result, "1/2-1/2")
            << drawn;
    EXPECT_STREQ(
        flag_fall_verdict(board_from_fen("4kb2/8/8/8/8/8/8/3BK3 w - - 0 1"), side_white, true)
            .result,
        "0-1"); // bishops on both colours: a mate can be helped
}
