// Stopping a search from outside: a stop flag that is never raised changes nothing (report
// lines, positions rated, random draws), and a raised one ends the search with a legal move
// chosen from what was rated so far.
#include "ai/classic/ai.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "tests/ai/classic/test_positions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct watched_run {
    std::vector<std::string> lines;
    std::atomic<bool> stop{false};
    std::string raise_at_line; // raises the flag when a line starts so
    int raise_after_rated = 0; // raises it once this many moves of the first pass are rated
    ai_decision decision;
    int next_random = 0;
};

void keep_line(void *context, const char *line) {
    auto *run = static_cast<watched_run *>(context);
    run->lines.push_back(line);
    if (!run->raise_at_line.empty() && run->lines.back().rfind(run->raise_at_line, 0) == 0)
        run->stop.store(true);
}

void count_rated(void *context, const search_progress &p) {
    auto *run = static_cast<watched_run *>(context);
    if (run->raise_after_rated > 0 && p.pass == 1 && p.rated >= run->raise_after_rated)
        run->stop.store(true);
}

void run_watched(watched_run *run, const game_state &game, const ai_settings &settings,
                 unsigned seed) {
    search_observer observer;
    observer.context = run;
    observer.report = keep_line;
    observer.progress = count_rated;
    observer.stop = &run->stop;
    const auto search = new_search_context(seed);
    run->decision = choose_ai_move(search.get(), game, settings, observer);
    run->next_random = next_random(&search->random);
}

bool legal(const game_state &game, coord src, coord dst) {
    const coord king = find_king(&game.board, game.game_status.turn);
    destination_list list;
    legal_moves(&game.board, src, &list, &king);
    const uint8_t tile = game.board.tiles[src.row][src.col];
    return tile != 0 && is_black(tile) == (game.game_status.turn == side_black) &&
           move_in_list(list.squares, list.count, dst.row, dst.col);
}

// The first `count` moves of the side to move in the order the search rates them.
std::vector<std::pair<coord, coord>> first_moves(const game_state &game, int count) {
    std::vector<std::pair<coord, coord>> moves;
    const coord king = find_king(&game.board, game.game_status.turn);
    for (uint8_t row = 0; row < board_size; row++)
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = game.board.tiles[row][col];
            if (tile == 0 || is_black(tile) != (game.game_status.turn == side_black)) continue;
            destination_list list;
            legal_moves(&game.board, coord{row, col}, &list, &king);
            for (int k = list.count - 1; k >= 0; k--)
                if (static_cast<int>(moves.size()) < count)
                    moves.push_back({coord{row, col}, list.squares[k]});
        }
    return moves;
}

ai_settings small_settings(unsigned threads, uint8_t blunders) {
    ai_settings s;
    s.depth1 = 2;
    s.depth2 = 4;
    s.threads = threads;
    s.blunders = blunders;
    return s;
}

} // namespace

TEST(StopSearch, AFlagNeverRaisedChangesNothing) {
    const std::vector<fen_position> pool = position_pool();
    for (size_t i = 0; i < pool.size(); i += 3) {
        const game_state game = game_from_position(pool[i], 12);
        for (unsigned threads : {1u, 2u}) {
            const ai_settings settings = small_settings(threads, 3);
            const ai_run plain = run_ai(game, settings, 5);
            watched_run watched;
            run_watched(&watched, game, settings, 5);
            EXPECT_EQ(plain.lines, watched.lines) << format_fen(pool[i]);
            EXPECT_EQ(plain.decision.src, watched.decision.src);
            EXPECT_EQ(plain.decision.dst, watched.decision.dst);
            EXPECT_EQ(plain.decision.positions_rated, watched.decision.positions_rated);
            EXPECT_FALSE(watched.decision.interrupted);
            EXPECT_EQ(plain.next_random, watched.next_random) << "other random draws were taken";
        }
    }
}

// Stopped as the second pass begins, the search answers with the first pass's choice: the
// move a single pass at the first depth would make.
TEST(StopSearch, StopAsTheSecondPassBeginsKeepsTheFirstPassChoice) {
    const std::vector<fen_position> pool = position_pool();
    int second_passes = 0;
    for (size_t i = 0; i < pool.size(); i += 2) {
        const game_state game = game_from_position(pool[i], 12);
        for (unsigned threads : {1u, 2u}) {
            ai_settings one_pass = small_settings(threads, 0);
            one_pass.depth2 = one_pass.depth1;
            const ai_run first = run_ai(game, one_pass, 9);
            watched_run stopped;
            stopped.raise_at_line = "Recalculating moves";
            run_watched(&stopped, game, small_settings(threads, 0), 9);
            if (!stopped.stop.load()) continue; // one pass was enough here
            second_passes++;
            EXPECT_TRUE(stopped.decision.interrupted);
            EXPECT_EQ(stopped.decision.src, first.decision.src) << format_fen(pool[i]);
            EXPECT_EQ(stopped.decision.dst, first.decision.dst) << format_fen(pool[i]);
            EXPECT_EQ(stopped.decision.score, first.decision.score);
            EXPECT_EQ(stopped.lines.back(), first.lines.back()) << "the Moving line";
        }
    }
    EXPECT_GT(second_passes, 10);
}

TEST(StopSearch, StoppedEarlyTheAnswerIsALegalMoveAmongThoseRated) {
    const std::vector<fen_position> pool = position_pool();
    for (size_t i = 0; i < pool.size(); i += 2) {
        const game_state game = game_from_position(pool[i], 12);
        // Before anything is rated, and after two moves on one thread.
        for (int rated : {0, 2}) {
            watched_run run;
            run.stop.store(rated == 0);
            run.raise_after_rated = rated;
            run_watched(&run, game, small_settings(1, 0), 3);
            if (run.decision.outcome == ai_outcome::no_move) continue;
            ASSERT_EQ(run.decision.outcome, ai_outcome::move);
            EXPECT_TRUE(legal(game, run.decision.src, run.decision.dst)) << format_fen(pool[i]);
            if (rated == 0) {
                EXPECT_TRUE(run.decision.interrupted);
                for (const std::string &line : run.lines)
                    EXPECT_NE(line.rfind("depth", 0), 0u) << "a stopped pass reported: " << line;
                continue;
            }
            // Moves are rated square by square (a8 to h1), each piece's destinations from
            // the last generated to the first: the answer is one of the first two.
            const std::vector<std::pair<coord, coord>> first = first_moves(game, rated);
            const std::pair<coord, coord> answer{run.decision.src, run.decision.dst};
            EXPECT_NE(std::find(first.begin(), first.end(), answer), first.end())
                << format_fen(pool[i]);
        }
    }
}

// A stop raised while one root move is being rated cuts that rating short, on one thread as
// on several: here a single root move takes seconds, the stop comes after a few
// milliseconds, and the answer must not wait for the rating to end.
TEST(StopSearch, AStopInTheMiddleOfARatingEndsItAtOnce) {
    const game_state game =
        game_at("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", 12);
    for (unsigned threads : {1u, 2u}) {
        ai_settings heavy;
        heavy.depth1 = heavy.depth2 = 6;
        heavy.global_deadend_score = -100000; // no dead ends: every root move is slow
        heavy.threads = threads;
        watched_run run;
        std::thread raiser([&run] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            run.stop.store(true);
        });
        const auto start = std::chrono::steady_clock::now();
        run_watched(&run, game, heavy, 1);
        const auto took = std::chrono::steady_clock::now() - start;
        raiser.join();
        EXPECT_TRUE(run.decision.interrupted) << threads << " threads";
        EXPECT_TRUE(legal(game, run.decision.src, run.decision.dst));
        // The stop came inside the first root move's rating: no rating was finished, so
        // nothing of the cut one is counted or used.
        EXPECT_EQ(run.decision.positions_rated, 0u) << threads << " threads";
        // The whole search takes minutes and one root move seconds (more under the
        // sanitizers); an answer within one second came from the stop.
        EXPECT_LT(took, std::chrono::seconds(1)) << threads << " threads";
    }
}
