// The strong player's board against the game's own rules: the same legal moves, the same
// boards after them, keys kept up move by move equal to keys made from nothing, unmaking
// that restores everything, and exchanges judged as a player would.
#include "rules/fast/exchange.h"
#include "rules/fast/fast_moves.h"
#include "rules/fast/repetition_key.h"
#include "rules/position_key.h"
#include "strong_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// Castling (both sides, through attacked squares), en passant (also one that would expose
// the king), ascensions with and without capture, pins and checks.
const char *const rule_positions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "8/8/8/2k5/2pP4/8/B7/4K3 b - d3 0 3",
    "8/8/3k4/8/1pPp4/8/8/4K2Q b - c3 0 1",
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
    "4k3/1P6/8/8/8/8/6p1/4K2R b K - 0 1",
};

void compare_moves(game_state &game, fast::position &pos, int depth, uint64_t *leaves) {
    const std::vector<san_move> expected = game_legal_moves(game);
    fast::move_list legal;
    fast::legal_moves_of(pos, &legal);
    ASSERT_EQ(static_cast<int>(expected.size()), legal.count) << fast::board_key(pos);
    for (const san_move &m : expected) {
        const fast::move16 fm = move16_of(m);
        ASSERT_TRUE(std::find(legal.moves, legal.moves + legal.count, fm) !=
                    legal.moves + legal.count);
        if (depth <= 1) {
            ++*leaves;
            continue;
        }
        game_state next = game;
        play_in_game(&next, m);
        fast::undo_record undo;
        fast::make_move(&pos, fm, &undo);
        // The same board, flags and all, as the game's own move makes.
        ASSERT_EQ(fast::board_of(pos), next.board);
        ASSERT_EQ(pos.clock, next.game_status.moves_pawn_capture);
        compare_moves(next, pos, depth - 1, leaves);
        fast::unmake_move(&pos, undo);
    }
}

TEST(StrongBoard, LegalMovesAndBoardsEqualTheGames) {
    for (const char *fen : rule_positions) {
        game_state game = game_at(fen);
        fast::position pos = fast::position_of_game(game);
        uint64_t leaves = 0;
        compare_moves(game, pos, 3, &leaves);
        EXPECT_GT(leaves, 0u) << fen;
    }
}

bool same_position(const fast::position &a, const fast::position &b) {
    return std::memcmp(a.tiles, b.tiles, sizeof a.tiles) == 0 &&
           std::memcmp(a.kind, b.kind, sizeof a.kind) == 0 &&
           std::memcmp(a.colour, b.colour, sizeof a.colour) == 0 && a.key == b.key &&
           a.piece_key == b.piece_key && a.clock == b.clock && a.ep_pawn == b.ep_pawn &&
           a.side == b.side;
}

TEST(StrongBoard, KeysKeptUpEqualKeysFromNothingAndUnmakingRestores) {
    test_random random{12345};
    int castles = 0, en_passant = 0, ascensions = 0;
    for (int game_number = 0; game_number < 200; game_number++) {
        const fast::position start = fast::position_of_game(
            game_at(rule_positions[game_number % std::size(rule_positions)]));
        fast::position pos = start;
        fast::undo_record undo[80];
        int made = 0;
        for (; made < 80; made++) {
            fast::move_list legal;
            fast::legal_moves_of(pos, &legal);
            if (!legal.count) break;
            // Castling, en passant and ascensions are taken whenever they come up.
            fast::move16 m = legal.moves[random.below(static_cast<uint32_t>(legal.count))];
            for (int i = 0; i < legal.count; i++) {
                const fast::move16 c = legal.moves[i];
                const int from = fast::move_from(c), to = fast::move_to(c);
                const bool castle =
                    piece_type(pos.tiles[from]) == type_king && (to - from == 2 || from - to == 2);
                const bool ep = piece_type(pos.tiles[from]) == type_pawn &&
                                (from & 7) != (to & 7) && !pos.tiles[to];
                if (castle || ep || fast::move_ascend(c)) m = c;
            }
            const int from = fast::move_from(m), to = fast::move_to(m);
            castles +=
                piece_type(pos.tiles[from]) == type_king && (to - from == 2 || from - to == 2);
            en_passant += piece_type(pos.tiles[from]) == type_pawn && (from & 7) != (to & 7) &&
                          !pos.tiles[to];
            ascensions += fast::move_ascend(m) != 0;
            fast::make_move(&pos, m, &undo[made]);
            ASSERT_EQ(pos.key, fast::key_from_scratch(pos));
            const fast::position rebuilt =
                fast::position_from_board(fast::board_of(pos), pos.side, pos.clock);
            ASSERT_TRUE(same_position(pos, rebuilt)) << "after move " << made;
        }
        while (made > 0) fast::unmake_move(&pos, undo[--made]);
        ASSERT_TRUE(same_position(pos, start));
    }
    EXPECT_GT(castles, 0);
    EXPECT_GT(en_passant, 0);
    EXPECT_GT(ascensions, 0);
}

TEST(StrongBoard, KeysTellFlagsApart) {
    // The same pieces with and without a castling right or an en-passant flag are not the
    // same position for the game, nor for the keys.
    const auto key = [](const char *fen) { return fast::position_of_game(game_at(fen)).key; };
    EXPECT_NE(key("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"),
              key("r3k2r/8/8/8/8/8/8/R3K2R w Kkq - 0 1"));
    EXPECT_NE(key("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1"), key("4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1"));
    EXPECT_NE(key("4k3/8/8/8/8/8/8/4K3 w - - 0 1"), key("4k3/8/8/8/8/8/8/4K3 b - - 0 1"));
}

fast::move16 named(const char *from, const char *to, int ascend = 0) {
    const auto sq = [](const char *n) { return ('8' - n[1]) * 8 + (n[0] - 'a'); };
    return fast::make_move16(sq(from), sq(to), ascend);
}

// Plays "g1f3 g8f6 ..." from the FEN.
fast::position after_moves(const char *fen,
                           const std::vector<std::pair<const char *, const char *>> &moves) {
    fast::position pos = fast::position_of_game(game_at(fen));
    for (const auto &[from, to] : moves) {
        fast::undo_record undo;
        fast::make_move(&pos, named(from, to), &undo);
    }
    return pos;
}

TEST(StrongBoard, RepetitionKeysCompareAsTheRepetitionRule) {
    struct pair_case {
        fast::position a, b;
        bool same;
    };
    const char *start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const char *rooks = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    const pair_case cases[] = {
        // Knights out and back: the start again, has-moved flags aside.
        {after_moves(start, {{"g1", "f3"}, {"g8", "f6"}, {"f3", "g1"}, {"f6", "g8"}}),
         after_moves(start, {}), true},
        // A king out and back has lost both castling rights; a rook, its own.
        {after_moves(rooks, {{"e1", "d1"}, {"e8", "d8"}, {"d1", "e1"}, {"d8", "e8"}}),
         after_moves(rooks, {}), false},
        {after_moves(rooks, {{"a1", "b1"}, {"a8", "b8"}, {"b1", "a1"}, {"b8", "a8"}}),
         after_moves(rooks, {{"h1", "g1"}, {"h8", "g8"}, {"g1", "h1"}, {"g8", "h8"}}), false},
        // A two-square step counts where it may be taken en passant, and not where the
        // capture would expose the king.
        {after_moves("4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1", {{"e2", "e4"}}),
         after_moves("4k3/8/8/8/3pP3/8/8/4K3 b - - 0 1", {}), false},
        {after_moves("8/8/8/8/k2p3R/8/4P3/4K3 w - - 0 1", {{"e2", "e4"}}),
         after_moves("8/8/8/8/k2pP2R/8/8/4K3 b - - 0 1", {}), true},
        {after_moves("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", {{"e2", "e4"}}),
         after_moves("4k3/8/8/8/4P3/8/8/4K3 b - - 0 1", {}), true},
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        const pair_case &c = cases[i];
        const bool by_rule =
            key_of(fast::board_of(c.a), c.a.side) == key_of(fast::board_of(c.b), c.b.side);
        EXPECT_EQ(by_rule, c.same) << "case " << i;
        EXPECT_EQ(fast::repetition_key(c.a) == fast::repetition_key(c.b), c.same) << "case " << i;
    }
}

TEST(StrongBoard, ExchangesJudgedByBothSidesTakingInTurn) {
    struct exchange_case {
        const char *fen;
        fast::move16 move;
        int threshold;
        bool expected;
    };
    const exchange_case cases[] = {
        // An undefended knight: a clean win.
        {"4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1", named("e4", "d5"), 300, true},
        // A rook takes a pawn defended by a pawn: loses the exchange.
        {"4k3/8/2p5/3p4/8/8/8/3RK3 w - - 0 1", named("d1", "d5"), 0, false},
        // The same with a queen behind the rook: the pawn is won, but no more.
        {"3rk3/8/8/3p4/8/8/3R4/3QK3 w - - 0 1", named("d2", "d5"), 100, true},
        {"3rk3/8/8/3p4/8/8/3R4/3QK3 w - - 0 1", named("d2", "d5"), 101, false},
        // Two attackers against one defender on a pawn: wins the pawn.
        {"4k3/2n5/8/3p4/8/2N5/8/3RK3 w - - 0 1", named("c3", "d5"), 100, true},
        // The king may not take back while the square is still attacked.
        {"3qk3/3r4/8/8/8/8/3P4/4K3 b - - 0 1", named("d7", "d2"), 100, true},
        {"4k3/3r4/8/8/8/8/3P4/4K3 b - - 0 1", named("d7", "d2"), 0, false},
        // Pawn takes a rook defended by the queen: wins at least 400.
        {"3qk3/8/8/3r4/4P3/8/8/4K3 w - - 0 1", named("e4", "d5"), 400, true},
        // A quiet move onto a square a pawn guards loses the piece.
        {"4k3/8/8/2p5/8/8/2N5/4K3 w - - 0 1", named("c2", "b4"), 0, false},
        {"4k3/8/8/2p5/8/8/2N5/4K3 w - - 0 1", named("c2", "e3"), 0, true},
        {"4k3/2p5/8/8/8/8/8/3QK3 w - - 0 1", named("d1", "d6"), 0, false},
        // En passant wins a pawn.
        {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", named("e5", "d6"), 100, true},
    };
    for (const exchange_case &c : cases) {
        const fast::position pos = fast::position_of_game(game_at(c.fen));
        EXPECT_EQ(fast::exchange_at_least(pos, c.move, c.threshold), c.expected) << c.fen;
    }
}

TEST(StrongBoard, TacticsSetHoldsPositionsAndLegalMoves) {
    // The set vartok-strong-tactics reads: a damaged line would count as a miss for ever.
    std::ifstream in(STRONG_TEST_DATA "/tactics.txt");
    ASSERT_TRUE(in.good());
    std::string line;
    int positions = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string fen, move, margin;
        ASSERT_TRUE(std::getline(fields, fen, ';') && std::getline(fields, move, ';') &&
                    std::getline(fields, margin, ';'))
            << line;
        const game_state game = game_at(fen);
        const std::vector<san_move> legal = game_legal_moves(game);
        const auto named_move = [&](const san_move &m) {
            std::string text = {
                static_cast<char>('a' + m.src.col), static_cast<char>('8' - m.src.row),
                static_cast<char>('a' + m.dst.col), static_cast<char>('8' - m.dst.row)};
            if (m.ascend) text += "   rnbq"[m.ascend];
            return text == move;
        };
        EXPECT_TRUE(std::any_of(legal.begin(), legal.end(), named_move)) << line;
        EXPECT_GE(std::atoi(margin.c_str()), 150) << line;
        positions++;
    }
    EXPECT_GE(positions, 20);
}

} // namespace
