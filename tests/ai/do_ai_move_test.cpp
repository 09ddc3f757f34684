// Move selection as a whole: the report lines, the passes, the opening book, blunders, the
// mate cut-off, draw avoidance, and the same game on one thread and on several.
#include "ai/ai.h"
#include "ai/ai_settings.h"
#include "ai/opening.h"
#include "ai/rate_move.h"
#include "ai/root_rating.h"
#include "rules/live_game.h"
#include "rules/pieces.h"
#include "tests/ai/test_positions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

struct settings {
    uint8_t d1 = default_depth1, d2 = default_depth2, blunder = 0;
    unsigned threads = 1;
    unsigned seed = 1;
};

std::vector<std::string> lines_of(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> play(const std::string &fen, uint32_t turn, const settings &s) {
    const fen_position pos = setup_live(fen, turn);
    depth1 = s.d1;
    depth2 = s.d2;
    blunders = s.blunder;
    search_threads = s.threads;
    std::srand(s.seed);
    testing::internal::CaptureStdout();
    do_ai_move(find_king(&board, pos.turn));
    return lines_of(testing::internal::GetCapturedStdout());
}

int count_prefix(const std::vector<std::string> &lines, const std::string &prefix) {
    int n = 0;
    for (const std::string &l : lines) n += l.rfind(prefix, 0) == 0;
    return n;
}

class DoAiMove : public ::testing::Test {
  protected:
    void TearDown() override {
        depth1 = default_depth1;
        depth2 = default_depth2;
        blunders = 0;
        search_threads = default_search_threads();
        game_status = {};
        set_opening_calls_left(2);
    }
};

const char *const start_fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

TEST_F(DoAiMove, OpeningBookAnswersInTheFirstTwoCallsOnly) {
    const auto book = [](const char *fen, uint32_t turn) {
        setup_live(fen, turn);
        set_opening_calls_left(2);
        return ai_opening();
    };
    EXPECT_EQ(book(start_fen, 1), 1);
    EXPECT_EQ(board.tiles[4][4], 194);
    EXPECT_EQ(game_status.last_moves.position[0].board, board);
    EXPECT_EQ(book("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", 2), 1);
    EXPECT_EQ(board.tiles[3][2], 202); // c7-c5
    EXPECT_EQ(book("rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3 0 1", 2), 1);
    EXPECT_EQ(board.tiles[3][5], 202); // f7-f5
    EXPECT_EQ(book("rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b KQkq - 1 1", 2), 0);
    // The calls are counted whether or not the book answered.
    setup_live(start_fen, 1);
    set_opening_calls_left(2);
    EXPECT_EQ(ai_opening(), 1);
    turn_count = 1;
    EXPECT_EQ(ai_opening(), 1);
    turn_count = 1;
    EXPECT_EQ(ai_opening(), 0);
}

TEST_F(DoAiMove, FirstSearchOfTheGameMakesOnePass) {
    settings s;
    const auto lines = play("rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b KQkq - 1 1", 2, s);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("depth 3: Analyzed ", 0), 0u);
    EXPECT_EQ(lines[1].rfind("2: Moving ", 0), 0u);
}

TEST_F(DoAiMove, TwoPassesWithAverageAndThreshold) {
    settings s;
    s.d2 = 4;
    const auto lines = play(start_fen, 10, s);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0].rfind("depth 3: Analyzed ", 0), 0u);
    EXPECT_EQ(lines[1].rfind("Total moves: 20, average score: ", 0), 0u);
    EXPECT_EQ(lines[2].rfind("Recalculating moves with score >= ", 0), 0u);
    EXPECT_NE(lines[2].find(" using depth 4."), std::string::npos);
    EXPECT_EQ(count_prefix(lines, "depth 4: Analyzed "), 1);
    EXPECT_EQ(lines.back().rfind("10: Moving ", 0), 0u);
}

TEST_F(DoAiMove, EqualDepthsOrSecondDepthBelowFirstMakeOnePass) {
    for (uint8_t d2 : {2, 1, 0}) {
        settings s;
        s.d1 = 2;
        s.d2 = d2;
        const auto lines = play(start_fen, 10, s);
        ASSERT_EQ(lines.size(), 2u) << int(d2);
        EXPECT_EQ(lines[0].rfind("depth 2: Analyzed ", 0), 0u);
        EXPECT_EQ(lines[1].rfind("10: Moving ", 0), 0u);
    }
}

TEST_F(DoAiMove, PassesNeverWrapAroundTheDepthRange) {
    // The second pass would reach 255 and a third one start again from a wrapped depth.
    settings s;
    s.d1 = 200;
    s.d2 = 255;
    const auto lines = play("2r3k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 30", 30, s);
    EXPECT_LE(count_prefix(lines, "depth "), 2);
    EXPECT_EQ(lines.back().rfind("30: Moving ", 0), 0u);
}

TEST_F(DoAiMove, MateThatGainsMaterialEndsTheSearchWithoutPassLine) {
    settings s;
    const auto lines =
        play("r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 7, s);
    EXPECT_EQ(count_prefix(lines, "depth "), 0);
    EXPECT_EQ(lines.back(), "7: Moving h5 to f7 (score: 2147483746)");
}

TEST_F(DoAiMove, PlainMateDoesNotEndTheSearch) {
    settings s;
    s.d1 = s.d2 = 1;
    const auto lines = play("7k/5Q2/6K1/8/8/8/8/8 w - - 0 50", 99, s);
    EXPECT_EQ(count_prefix(lines, "depth 1: Analyzed "), 1);
    EXPECT_GE(count_prefix(lines, "Found my checkmate at depth 1"), 2);
    EXPECT_NE(lines.back().find("(score: 2147483646)"), std::string::npos);
}

TEST_F(DoAiMove, BlunderTakesTheFirstMoveBelowTheBest) {
    const char *fen = "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10";
    setup_live(fen, 20);
    // The first move, in visiting order, that scores below an earlier one.
    const coord king = find_king(&board, 0);
    std::string expected;
    int64_t best = smallest_score;
    destination_list list;
    for (uint8_t r = 0; r < 8 && expected.empty(); r++)
        for (uint8_t c = 0; c < 8 && expected.empty(); c++) {
            const uint8_t t = board.tiles[r][c];
            if (t == 0 || (t & black_bit)) continue;
            const uint8_t n = legal_moves(&board, coord{r, c}, &list, &king);
            for (int k = n - 1; k >= 0 && expected.empty(); k--) {
                struct move mv {};
                mv.src = coord{r, c};
                mv.dst = list.squares[k];
                search_state st;
                st.max_depth = 2;
                rate_move(&mv, &board, 0, &st);
                if (mv.score < best) {
                    expected = std::string("20: Moving ") + char('a' + c) + char('8' - r) + " to " +
                               char('a' + mv.dst.col) + char('8' - mv.dst.row) +
                               " (score: " + std::to_string(mv.score) + ")";
                }
                if (mv.score > best) best = mv.score;
            }
        }
    settings s;
    s.d1 = s.d2 = 2;
    s.blunder = 1;
    const auto lines = play(fen, 20, s);
    EXPECT_EQ(count_prefix(lines, "depth "), 0);
    EXPECT_EQ(lines.back(), expected);
}

TEST_F(DoAiMove, AvoidsADrawWhileAhead) {
    // White leads by far; Qa1-a7 would repeat a position seen twice already.
    const char *fen = "r3k2r/8/8/8/8/8/8/QQ2K3 w - - 0 40";
    setup_live(fen, 40);
    struct board after = board;
    move_piece(&after, coord{7, 0}, coord{1, 0});
    settings s;
    s.d1 = s.d2 = 1;
    const fen_position pos = setup_live(fen, 40);
    for (int slot : {3, 9}) {
        game_status.last_moves.position[slot].board = after;
        game_status.last_moves.position[slot].turn = 1;
    }
    depth1 = depth2 = 1;
    search_threads = 1;
    testing::internal::CaptureStdout();
    do_ai_move(find_king(&board, pos.turn));
    const auto lines = lines_of(testing::internal::GetCapturedStdout());
    EXPECT_EQ(count_prefix(lines, "Trying to avoid draw..."), 1);
    EXPECT_EQ(lines.back().find("Moving a1 to a7"), std::string::npos);
    EXPECT_NE(board, after);
}

TEST_F(DoAiMove, PromotionUsesTheRatedPiece) {
    settings s;
    s.d1 = s.d2 = 1;
    const auto lines = play("8/1P5p/8/4k3/8/8/8/7K w - - 0 40", 10, s);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "10: Moving b7 to b8 (score: 158)");
    EXPECT_EQ(lines.back(), "Ascended to rook");
    EXPECT_EQ(board.tiles[0][1], has_moved_flag | type_rook);
}

TEST_F(DoAiMove, SameGameOnOneThreadAndOnSeveral) {
    const char *fens[] = {
        start_fen,
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4",
        "7k/5Q2/6K1/8/8/8/8/8 w - - 0 50",
        "2r3k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 30",
    };
    for (const char *fen : fens) {
        for (uint8_t blunder : {0, 3}) {
            for (unsigned seed : {1u, 7u}) {
                settings one;
                one.d1 = 2;
                one.d2 = 4;
                one.blunder = blunder;
                one.seed = seed;
                settings many = one;
                many.threads = 3;
                const auto single = play(fen, 12, one);
                const struct board after_single = board;
                const int next_draw = std::rand();
                const auto parallel = play(fen, 12, many);
                EXPECT_EQ(single, parallel) << fen;
                EXPECT_EQ(after_single, board) << fen;
                EXPECT_EQ(next_draw, std::rand()) << fen; // the same random draws were taken
            }
        }
    }
}

} // namespace
