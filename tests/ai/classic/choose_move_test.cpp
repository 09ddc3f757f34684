// Move selection as a whole: the report lines, the passes, the opening book, blunders, the
// mate cut-off, draw avoidance, and the same game on one thread and on several.
#include "ai/classic/ai.h"
#include "ai/classic/opening.h"
#include "ai/classic/rate_move.h"
#include "ai/classic/root_rating.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "tests/ai/classic/test_positions.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

namespace {

struct settings {
    uint8_t d1 = default_depth1, d2 = default_depth2, blunder = 0;
    unsigned threads = 1;
    unsigned seed = 1;
};

ai_settings settings_of(const settings &s) {
    ai_settings a;
    a.depth1 = s.d1;
    a.depth2 = s.d2;
    a.blunders = s.blunder;
    a.threads = s.threads;
    return a;
}

ai_run decide(const game_state &game, const settings &s) {
    return run_ai(game, settings_of(s), s.seed);
}

std::vector<std::string> play(const std::string &fen, uint32_t turn, const settings &s) {
    return decide(game_at(fen, turn), s).lines;
}

int count_prefix(const std::vector<std::string> &lines, const std::string &prefix) {
    int n = 0;
    for (const std::string &l : lines) n += l.rfind(prefix, 0) == 0;
    return n;
}

const char *const start_fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

TEST(ChooseAiMove, OpeningBookAnswersInTheFirstTwoCallsOnly) {
    const auto book = [](const char *fen, uint32_t turn) {
        game_state game = game_at(fen, turn);
        game.opening = opening_book_calls;
        return ai_opening(game);
    };
    const auto name = [](const book_answer &b) {
        return square_name(b.src) + "-" + square_name(b.dst);
    };
    EXPECT_EQ(name(book(start_fen, 1)), "e2-e4");
    EXPECT_EQ(name(book("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", 2)),
              "c7-c5");
    EXPECT_EQ(name(book("rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3 0 1", 2)),
              "f7-f5");
    EXPECT_FALSE(book("rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b KQkq - 1 1", 2).found);
    // The calls are counted whether or not the book answered.
    game_state game = game_at(start_fen, 1);
    game.opening = opening_book_calls;
    book_answer answer = ai_opening(game);
    EXPECT_TRUE(answer.found);
    EXPECT_EQ(answer.opening, 1);
    game.turn_count = 3;
    game.opening = answer.opening;
    answer = ai_opening(game);
    EXPECT_FALSE(answer.found);
    EXPECT_EQ(answer.opening, 0);
    game.turn_count = 1;
    game.opening = answer.opening;
    EXPECT_FALSE(ai_opening(game).found);
    // The decision carries the book move and the counter; the search is not run.
    game.opening = opening_book_calls;
    const ai_run run = decide(game, settings{});
    EXPECT_EQ(run.decision.outcome, ai_outcome::book_move);
    EXPECT_EQ(run.decision.opening, 1);
    EXPECT_TRUE(run.lines.empty());
}

TEST(ChooseAiMove, FirstSearchOfTheGameMakesOnePass) {
    settings s;
    const auto lines = play("rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b KQkq - 1 1", 2, s);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("depth 3: Analyzed ", 0), 0u);
    EXPECT_EQ(lines[1].rfind("2: Moving ", 0), 0u);
}

TEST(ChooseAiMove, TwoPassesWithAverageAndThreshold) {
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

TEST(ChooseAiMove, EqualDepthsOrSecondDepthBelowFirstMakeOnePass) {
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

TEST(ChooseAiMove, PassesNeverWrapAroundTheDepthRange) {
    // The second pass would reach 255 and a third one start again from a wrapped depth.
    settings s;
    s.d1 = 200;
    s.d2 = 255;
    const auto lines = play("2r3k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 30", 30, s);
    EXPECT_LE(count_prefix(lines, "depth "), 2);
    EXPECT_EQ(lines.back().rfind("30: Moving ", 0), 0u);
}

TEST(ChooseAiMove, MateThatGainsMaterialEndsTheSearchWithoutPassLine) {
    settings s;
    const auto lines =
        play("r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 7, s);
    EXPECT_EQ(count_prefix(lines, "depth "), 0);
    EXPECT_EQ(lines.back(), "7: Moving h5 to f7 (score: 2147483746)");
}

TEST(ChooseAiMove, PlainMateDoesNotEndTheSearch) {
    settings s;
    s.d1 = s.d2 = 1;
    const auto lines = play("7k/5Q2/6K1/8/8/8/8/8 w - - 0 50", 99, s);
    EXPECT_EQ(count_prefix(lines, "depth 1: Analyzed "), 1);
    EXPECT_GE(count_prefix(lines, "Found my checkmate at depth 1"), 2);
    EXPECT_NE(lines.back().find("(score: 2147483646)"), std::string::npos);
}

TEST(ChooseAiMove, BlunderTakesTheFirstMoveBelowTheBest) {
    const char *fen = "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10";
    const game_state game = game_at(fen, 20);
    const struct board &board = game.board;
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
                search_state st = search_state_for(game, ai_settings{});
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

TEST(ChooseAiMove, AvoidsADrawWhileAhead) {
    // White leads by far; Qa1-a7 would repeat a position seen twice already.
    const char *fen = "r3k2r/8/8/8/8/8/8/QQ2K3 w - - 0 40";
    game_state game = game_at(fen, 40);
    struct board after = game.board;
    move_piece(&after, coord{7, 0}, coord{1, 0});
    settings s;
    s.d1 = s.d2 = 1;
    for (int slot : {3, 9}) {
        game.game_status.last_moves.position[slot].board = after;
        game.game_status.last_moves.position[slot].turn = 1;
    }
    const ai_run run = decide(game, s);
    EXPECT_EQ(count_prefix(run.lines, "Trying to avoid draw..."), 1);
    EXPECT_EQ(run.lines.back().find("Moving a1 to a7"), std::string::npos);
    EXPECT_FALSE(run.decision.src == (coord{7, 0}) && run.decision.dst == (coord{1, 0}));
}

TEST(ChooseAiMove, AscensionUsesTheRatedPiece) {
    settings s;
    s.d1 = s.d2 = 1;
    const ai_run run = decide(game_at("8/1P5p/8/4k3/8/8/8/7K w - - 0 40", 10), s);
    ASSERT_GE(run.lines.size(), 1u);
    EXPECT_EQ(run.lines.back(), "10: Moving b7 to b8 (score: 158)");
    EXPECT_EQ(run.decision.ascend, type_rook);
    // A move that does not reach the last row asks for no ascension.
    EXPECT_EQ(decide(game_at(start_fen, 10), s).decision.ascend, 0);
}

TEST(ChooseAiMove, SameGameOnOneThreadAndOnSeveral) {
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
                const game_state game = game_at(fen, 12);
                const ai_run single = decide(game, one);
                const ai_run parallel = decide(game, many);
                EXPECT_EQ(single.lines, parallel.lines) << fen;
                EXPECT_EQ(single.decision.src, parallel.decision.src) << fen;
                EXPECT_EQ(single.decision.dst, parallel.decision.dst) << fen;
                EXPECT_EQ(single.decision.positions_rated, parallel.decision.positions_rated);
                EXPECT_EQ(single.next_random, parallel.next_random) << fen; // the same draws
            }
        }
    }
}

// Equal ratings: each later move of the same score replaces the chosen one with one chance
// in eight. At depth 0 every move of a bare king scores 0, so the first of its three moves
// stays chosen with probability (7/8)^2.
TEST(ChooseAiMove, EqualScoresAreBrokenOneTimeInEight) {
    const game_state game = game_at("k7/8/8/8/8/8/8/K7 w - - 0 40", 10);
    settings s;
    s.d1 = s.d2 = 0;
    constexpr int games = 800;
    std::map<std::string, int> chosen;
    for (int seed = 1; seed <= games; seed++) {
        s.seed = static_cast<unsigned>(seed);
        const ai_decision d = decide(game, s).decision;
        chosen[square_name(d.src) + square_name(d.dst)]++;
    }
    int most = 0;
    for (const auto &entry : chosen) most = std::max(most, entry.second);
    EXPECT_EQ(chosen.size(), 3u);
    EXPECT_GT(most, games * 70 / 100); // expected 76.6%; one chance in four would give 56%
    EXPECT_LT(most, games * 83 / 100);
}

// The second pass rates again exactly the moves whose first rating reached halfway between
// the average and the best, worked out here from each move's own first-pass rating.
void expect_second_pass_from_halfway(const char *fen) {
    const game_state game = game_at(fen, 12);
    settings s;
    s.d1 = 2;
    s.d2 = 3;
    const ai_settings a = settings_of(s);
    std::vector<struct move> moves;
    std::vector<uint64_t> second_pass_counts;
    const coord king = find_king(&game.board, 0);
    destination_list list;
    for (uint8_t r = 0; r < board_size; r++)
        for (uint8_t c = 0; c < board_size; c++) {
            const uint8_t t = game.board.tiles[r][c];
            if (t == 0 || (t & black_bit)) continue;
            const uint8_t n = legal_moves(&game.board, coord{r, c}, &list, &king);
            for (int k = 0; k < n; k++) {
                struct move mv {};
                mv.src = coord{r, c};
                mv.dst = list.squares[k];
                search_state st = search_state_for(game, a);
                st.max_depth = s.d1;
                rate_move(&mv, &game.board, 0, &st);
                moves.push_back(mv);
                struct move again = mv;
                search_state deep = search_state_for(game, a);
                deep.max_depth = s.d2;
                rate_move(&again, &game.board, 0, &deep);
                second_pass_counts.push_back(deep.a);
            }
        }
    int64_t sum = 0, best = smallest_score;
    for (const struct move &mv : moves) sum += mv.score, best = std::max(best, mv.score);
    const int64_t average = sum / static_cast<int64_t>(moves.size());
    const int64_t mark = average + (best - average) / 2;
    uint64_t expected_positions = 0;
    int above = 0;
    for (size_t i = 0; i < moves.size(); i++)
        if (moves[i].score >= mark) expected_positions += second_pass_counts[i], above++;
    ASSERT_GE(above, 2) << fen;

    const auto lines = decide(game, s).lines;
    EXPECT_EQ(count_prefix(lines, "Recalculating moves with score >= " + std::to_string(mark) +
                                      " using depth 3."),
              1)
        << fen;
    EXPECT_EQ(count_prefix(lines, "depth 3: Analyzed " + std::to_string(expected_positions) +
                                      " possible situations."),
              1)
        << fen;
}

TEST(ChooseAiMove, TheSecondPassTakesTheMovesFromTheHalfwayMark) {
    expect_second_pass_from_halfway("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    expect_second_pass_from_halfway("4k3/8/8/3p4/8/2N1N3/8/4K3 w - - 0 30");
}

} // namespace
