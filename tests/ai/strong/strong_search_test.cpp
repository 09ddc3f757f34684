// The strong player's search: mates found, played and the shortest preferred; the same
// score from both sides of a mirrored board; only legal moves, whatever its table holds;
// the same answer twice under a node limit; the game's draw rules steered by.
#include "ai/strong/search/strong_history.h"
#include "ai/strong/search/strong_search.h"
#include "ai/strong/strong_eval.h"
#include "ai/strong/strong_strength.h"
#include "rules/fast/exchange.h"
#include "rules/fast/fast_moves.h"
#include "rules/position_rules.h"
#include "strong_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct mate_case {
    const char *fen;
    int moves;
};

// Shortest mates as stockfish counts them.
const mate_case mates[] = {
    {"7k/5Q2/6K1/8/8/8/8/8 w - - 0 1", 1},
    {"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 1},
    {"4k3/8/8/8/8/8/8/2Q1K2R w - - 0 1", 2},
    {"r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1", 2},
    {"7k/8/8/5p1p/8/8/6N1/4K1Q1 w - - 0 1", 3},
    {"8/6R1/8/8/2R5/5K2/1k6/8 w - - 0 1", 3},
    {"8/5p2/8/4p2Q/8/8/8/1k1K4 w - - 0 1", 4},
    {"6R1/8/8/5K2/8/1k6/3R4/8 w - - 0 1", 4},
    {"8/5Q2/7k/p7/7K/7p/8/8 w - - 0 1", 3},
    {"8/2p5/8/6k1/1K6/4N3/5Q2/8 w - - 0 1", 5},
};

bool contains(const std::vector<san_move> &moves, const san_move &m) {
    return std::find(moves.begin(), moves.end(), m) != moves.end();
}

bool mated(const game_state &game) {
    return game_legal_moves(game).empty() && fast::in_check(fast::position_of_game(game));
}

TEST(StrongSearch, MatesInOneToFiveFoundShortestAndPlayed) {
    for (const mate_case &c : mates) {
        game_state game = game_at(c.fen);
        const strong_settings settings = depth_limited(2 * c.moves + 9);
        strong_decision d = choose_strong_move(game, settings, strong_observer{});
        EXPECT_EQ(d.result.score.mate_in, c.moves) << c.fen;
        // Played out against the best defence it finds, the mate comes in time.
        int moves = 0;
        while (d.outcome == strong_outcome::move && !mated(game) && moves < c.moves) {
            ASSERT_TRUE(contains(game_legal_moves(game), san_of(d.move)));
            play_in_game(&game, san_of(d.move));
            moves++;
            if (mated(game)) break;
            const strong_decision reply = choose_strong_move(game, settings, strong_observer{});
            play_in_game(&game, san_of(reply.move));
            d = choose_strong_move(game, settings, strong_observer{});
        }
        EXPECT_TRUE(mated(game)) << c.fen;
        EXPECT_LE(moves, c.moves) << c.fen;
    }
}

TEST(StrongSearch, MirroredPositionsEvaluateAlike) {
    const char *const fens[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "4k3/8/8/8/8/8/8/2B1KN2 w - - 0 1",
        "8/8/8/3k4/8/8/2B5/4K1B1 b - - 0 1",
        "2r3k1/pp3ppp/4p3/3pP3/3P4/P4N2/1P3PPP/2R3K1 b - - 0 25",
        "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    };
    for (const char *fen : fens) {
        const fast::position pos = fast::position_of_game(game_at(fen));
        EXPECT_EQ(evaluate(pos), evaluate(mirrored(pos))) << fen;
    }
    // And along a game, where the positions are less tidy.
    test_random random{99};
    fast::position pos = fast::position_of_game(game_at(fens[0]));
    for (int ply = 0; ply < 120; ply++) {
        fast::move_list legal;
        fast::legal_moves_of(pos, &legal);
        if (!legal.count) break;
        fast::undo_record undo;
        fast::make_move(&pos, legal.moves[random.below(static_cast<uint32_t>(legal.count))], &undo);
        ASSERT_EQ(evaluate(pos), evaluate(mirrored(pos))) << "ply " << ply;
    }
}

TEST(StrongSearch, PlaysOnlyLegalMovesWhateverItsTableHolds) {
    test_random random{7};
    const char *const fens[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "4k3/1P6/8/8/8/8/6p1/4K2R b K - 0 1",
    };
    for (const char *fen : fens) {
        const game_state game = game_at(fen);
        strong_memory memory;
        resize_table(&memory.table, 1);
        // Moves from no position at all, stored deep and exact for the root and each
        // position after one move.
        fast::position pos = fast::position_of_game(game);
        const auto poison = [&](const fast::position &p) {
            store_in_table(memory.table, p.key, static_cast<fast::move16>(random.below(65536)),
                           static_cast<int>(random.below(2000)) - 1000, 0, 100, tt_bound::exact);
        };
        poison(pos);
        fast::move_list legal;
        fast::legal_moves_of(pos, &legal);
        for (int i = 0; i < legal.count; i++) {
            fast::undo_record undo;
            fast::make_move(&pos, legal.moves[i], &undo);
            poison(pos);
            fast::unmake_move(&pos, undo);
        }
        const strong_decision d =
            choose_strong_move(game, depth_limited(6), strong_observer{}, &memory);
        EXPECT_TRUE(contains(game_legal_moves(game), san_of(d.move))) << fen;
    }
}

TEST(StrongSearch, SelfPlayedMovesAreLegalByTheGamesRules) {
    test_random random{2024};
    int moves_played = 0;
    const char *const starts[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    };
    for (int g = 0; moves_played < 2400 && g < 40; g++) {
        game_state game = game_at(starts[g % std::size(starts)]);
        strong_memory memory;
        for (int ply = 0; ply < 250; ply++) {
            const std::vector<san_move> legal = game_legal_moves(game);
            if (legal.empty()) break;
            // The counter rule, a repetition, bare kings: the game is over.
            if (game.game_status.moves_pawn_capture > 75 ||
                (ply > 3 && repetition_found(&game.game_status, &game.board, 0)))
                break;
            san_move m;
            if (ply < 4) {
                m = legal[random.below(static_cast<uint32_t>(legal.size()))];
            } else {
                const strong_decision d =
                    choose_strong_move(game, node_limited(1500), strong_observer{}, &memory);
                ASSERT_EQ(d.outcome, strong_outcome::move);
                m = san_of(d.move);
                ASSERT_TRUE(contains(legal, m)) << "game " << g << " ply " << ply;
                // Its line, too, is legal move after move.
                const std::string report = strong_report(game, d.result);
                const std::string line = report.substr(report.find("line:") + 5);
                EXPECT_EQ(static_cast<int>(std::count(line.begin(), line.end(), ' ')),
                          d.result.pv.length)
                    << report;
                moves_played++;
            }
            play_in_game(&game, m);
            const fast::position pos = fast::position_of_game(game);
            if (fast::occupied_squares(pos) ==
                (fast::pieces_of(pos, 0, type_king) | fast::pieces_of(pos, 1, type_king)))
                break;
        }
    }
    EXPECT_GE(moves_played, 2000);
}

TEST(StrongSearch, RepeatsExactlyUnderANodeLimit) {
    const game_state game =
        game_at("r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2NB4/PPP1Q1PP/2KR3R w - - 0 13");
    const strong_decision a = choose_strong_move(game, node_limited(60000), strong_observer{});
    const strong_decision b = choose_strong_move(game, node_limited(60000), strong_observer{});
    EXPECT_EQ(san_of(a.move), san_of(b.move));
    EXPECT_EQ(a.result.nodes, b.result.nodes);
    EXPECT_EQ(a.result.score.cp, b.result.score.cp);
    EXPECT_EQ(a.result.pv.length, b.result.pv.length);
}

TEST(StrongSearch, HelperThreadsShareTheTableAndKeepTheAnswer) {
    // Two threads find the same shortest mate, and a legal move in a busy position.
    strong_settings settings = depth_limited(13);
    settings.threads = 2;
    const strong_decision mate = choose_strong_move(game_at("6R1/8/8/5K2/8/1k6/3R4/8 w - - 0 1"),
                                                    settings, strong_observer{});
    // Helper threads may leave a longer mate of the same line in the table than the one the
    // main thread finds alone (one thread finds the shortest: see the mate tests): a mate
    // it is, and none shorter than the shortest.
    EXPECT_GE(mate.result.score.mate_in, 4);
    const game_state busy =
        game_at("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    settings.depth_limit = 9;
    const strong_decision d = choose_strong_move(busy, settings, strong_observer{});
    EXPECT_TRUE(contains(game_legal_moves(busy), san_of(d.move)));
    EXPECT_EQ(d.result.depth, 9);
}

TEST(StrongSearch, StopsAtOnceWithALegalMove) {
    const game_state game =
        game_at("r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2NB4/PPP1Q1PP/2KR3R w - - 0 13");
    std::atomic<bool> stop{true};
    strong_observer observer;
    observer.stop = &stop;
    strong_settings settings;
    settings.time = {};
    const strong_decision d = choose_strong_move(game, settings, observer);
    EXPECT_TRUE(contains(game_legal_moves(game), san_of(d.move)));
    EXPECT_LT(d.result.nodes, 5000u);
}

// The board after `m` is logged twice, as if it had been seen before.
void seen_twice_after(game_state *game, const san_move &m) {
    game_state after = *game;
    play_in_game(&after, m);
    log_move(game);
    for (int i = 0; i < 2; i++) {
        last_moves &ring = game->game_status.last_moves;
        ring.position[ring.index].board = after.board;
        ring.position[ring.index].turn = game->game_status.turn;
        ring.index = (ring.index + 1) % history_slots;
    }
    log_move(game);
}

TEST(StrongSearch, RepetitionAvoidedWhenWinningAndTakenWhenLosing) {
    // White wins with the queen; its best move would repeat a position seen twice.
    game_state winning = game_at("8/8/8/4k3/8/8/8/3QK3 w - - 0 1");
    const strong_decision first = choose_strong_move(winning, depth_limited(8), strong_observer{});
    seen_twice_after(&winning, san_of(first.move));
    const strong_decision second = choose_strong_move(winning, depth_limited(8), strong_observer{});
    EXPECT_NE(san_of(second.move), san_of(first.move));
    EXPECT_GT(second.result.score.cp + 1000 * second.result.score.mate_in, 300);

    // Black, a queen down, gladly repeats.
    game_state losing = game_at("8/8/8/4k3/8/8/8/3QK3 b - - 0 1");
    const std::vector<san_move> replies = game_legal_moves(losing);
    const san_move repeat = replies.back();
    seen_twice_after(&losing, repeat);
    const strong_decision d = choose_strong_move(losing, depth_limited(8), strong_observer{});
    EXPECT_EQ(san_of(d.move), repeat);
    EXPECT_EQ(d.result.score.cp, 0);
    EXPECT_EQ(d.result.score.mate_in, 0);
}

TEST(StrongSearch, RepetitionOfTheWholeGameSeenUnderFideRules) {
    // The position after 1.Nf3 comes back on the last move, for the third time; the first
    // was 20 half-moves before, beyond the game's own memory of sixteen positions.
    const char *texts[] = {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "b8c6", "f3h4",
                           "c6e5", "b1c3", "e5c6", "c3e4", "c6b8", "e4c3", "g8f6",
                           "c3b1", "f6g8", "h4f5", "g8f6", "f5h4", "f6g8"};
    const game_state start = new_game();
    game_state game = start;
    std::vector<san_move> moves;
    for (const char *text : texts) {
        san_move m;
        std::string error;
        ASSERT_TRUE(parse_san(game.board, game.game_status.turn, text, &m, &error)) << text;
        play_in_game(&game, m);
        moves.push_back(m);
    }
    strong_settings settings = depth_limited(6);
    settings.rules = draw_rules::fide;
    settings.root_moves = {{{4, 7}, {5, 5}, 0}}; // Nh4-f3
    const strong_decision ring_only = choose_strong_move(game, settings, strong_observer{});
    EXPECT_NE(ring_only.result.score.cp, 0);
    settings.history = strong_history_keys(start, moves);
    const strong_decision whole = choose_strong_move(game, settings, strong_observer{});
    EXPECT_EQ(whole.move.dst, (coord{5, 5}));
    EXPECT_EQ(whole.result.score.cp, 0);
    EXPECT_EQ(whole.result.score.mate_in, 0);
}

TEST(StrongSearch, MateCountsOnlyWithinTheMoveCountRule) {
    // A person may claim the draw once the counter is past 50: a mate on the move that takes
    // it there is no win.
    const char *fen = "7k/5Q2/6K1/8/8/8/8/8 w - - 0 1";
    EXPECT_EQ(choose_strong_move(game_at(fen, 49), depth_limited(4), strong_observer{})
                  .result.score.mate_in,
              1);
    const strong_decision late =
        choose_strong_move(game_at(fen, 50), depth_limited(4), strong_observer{});
    EXPECT_EQ(late.result.score.mate_in, 0);
    EXPECT_EQ(late.result.score.cp, 0);
    // Under the usual rules the fifty-move rule falls at 100 half-moves, and a mate then
    // still counts.
    strong_settings fide = depth_limited(4);
    fide.rules = draw_rules::fide;
    EXPECT_EQ(choose_strong_move(game_at(fen, 99), fide, strong_observer{}).result.score.mate_in,
              1);
}

TEST(StrongSearch, DrawRulesOfTheGameAndOfTournaments) {
    const fast::position pos =
        fast::position_of_game(game_at("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 10));
    const uint64_t a = 1, b = 2, c = 3;
    // The game: a board seen twice before within the last fifteen, whoever was to move.
    const uint64_t twice_before[] = {a, b, a, c, b, a};
    EXPECT_TRUE(drawn_by_rules(pos, draw_rules::game, twice_before, 6, 6));
    // Once before the search is not enough; once within the search is.
    const uint64_t once_before[] = {c, b, a, c, b, a};
    EXPECT_FALSE(drawn_by_rules(pos, draw_rules::game, once_before, 6, 4));
    EXPECT_TRUE(drawn_by_rules(pos, draw_rules::game, once_before, 6, 2));
    // Older than sixteen positions: forgotten.
    uint64_t old[20] = {a, a};
    for (int i = 2; i < 19; i++) old[i] = 100 + i;
    old[19] = a;
    EXPECT_FALSE(drawn_by_rules(pos, draw_rules::game, old, 20, 20));
    // The usual rules compare positions with the same side to move only.
    const uint64_t other_side[] = {a, b, a, c, a};
    EXPECT_TRUE(drawn_by_rules(pos, draw_rules::fide, other_side, 5, 5));
    const uint64_t odd[] = {a, a, b, a};
    EXPECT_FALSE(drawn_by_rules(pos, draw_rules::fide, odd, 4, 4));
    // Bare kings.
    const fast::position kings = fast::position_of_game(game_at("8/8/8/4k3/8/8/8/4K3 w - - 0 1"));
    EXPECT_TRUE(drawn_by_rules(kings, draw_rules::game, &a, 1, 1));
}

// After our move, can the opponent take our queen and come out far ahead?
bool hands_over_queen(game_state game, const san_move &m) {
    play_in_game(&game, m);
    const fast::position pos = fast::position_of_game(game);
    fast::move_list legal;
    fast::legal_moves_of(pos, &legal);
    for (int i = 0; i < legal.count; i++) {
        const uint8_t target = pos.tiles[fast::move_to(legal.moves[i])];
        if (piece_type(target) == type_queen && fast::exchange_at_least(pos, legal.moves[i], 600))
            return true;
    }
    return false;
}

const char *const queen_positions[] = {
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5Q2/PPPP1PPP/RNB1K1NR w KQkq - 4 4",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2NB4/PPP1Q1PP/2KR3R w - - 0 13",
    "4rrk1/pp1n3p/3q2pQ/2p1pb2/2PP4/2P3N1/P2B2PP/4RRK1 b - - 7 19",
    "r3r1k1/2p2ppp/p1p1bn2/8/1q2P3/2NPQN2/PPP3PP/R4RK1 b - - 2 15",
    "rnb1kbnr/ppp1pppp/8/3q4/8/2N5/PPPP1PPP/R1BQKBNR b KQkq - 1 3",
};

TEST(StrongSearch, WeakenedPlayerRepeatsWithItsSeedAndKeepsItsQueenFrom1500) {
    for (const char *fen : queen_positions) {
        const game_state game = game_at(fen);
        for (int elo : {1500, 1800, 2200}) {
            for (uint64_t seed = 1; seed <= 3; seed++) {
                strong_settings s;
                s.time = {};
                s.hash_mb = 8;
                s.elo = elo;
                s.seed = seed;
                const strong_decision a = choose_strong_move(game, s, strong_observer{});
                const strong_decision b = choose_strong_move(game, s, strong_observer{});
                EXPECT_EQ(san_of(a.move), san_of(b.move)) << fen;
                ASSERT_TRUE(contains(game_legal_moves(game), san_of(a.move)));
                EXPECT_FALSE(hands_over_queen(game, san_of(a.move))) << fen << " at " << elo;
            }
        }
    }
}

TEST(StrongSearch, StrengthGrowsWithTheEloAskedAndOverlooksNothingFrom1500) {
    // A row of the table typed out of order would make a higher Elo play worse somewhere.
    strength_limits previous = strength_for_elo(lowest_elo);
    for (int elo = lowest_elo + 25; elo <= full_strength_elo; elo += 25) {
        const strength_limits l = strength_for_elo(elo);
        EXPECT_GE(l.depth, previous.depth) << elo;
        EXPECT_GE(l.nodes, previous.nodes) << elo;
        // (Noise may grow a little where the search deepens: the rows were set by games.)
        EXPECT_LE(l.noise_cp, strength_for_elo(lowest_elo).noise_cp) << elo;
        EXPECT_LE(l.oversight_percent, previous.oversight_percent) << elo;
        if (elo >= 1500) {
            EXPECT_EQ(l.oversight_percent, 0) << elo;
        }
        previous = l;
    }
    EXPECT_GT(strength_for_elo(lowest_elo).oversight_percent, 0);
    // Outside the scale: its ends.
    EXPECT_EQ(strength_for_elo(100).nodes, strength_for_elo(lowest_elo).nodes);
    EXPECT_EQ(strength_for_elo(99999).depth, strength_for_elo(full_strength_elo).depth);
}

TEST(StrongSearch, WeakenedPlayerVariesWithTheSeedAtLowStrength) {
    // Over a few positions and seeds, a beginner's choices are not all the full player's.
    int differ = 0;
    for (const char *fen : queen_positions) {
        const game_state game = game_at(fen);
        const strong_decision full = choose_strong_move(game, depth_limited(6), strong_observer{});
        for (uint64_t seed = 1; seed <= 3; seed++) {
            strong_settings s = depth_limited(6);
            s.elo = lowest_elo;
            s.seed = seed;
            differ +=
                !(san_of(choose_strong_move(game, s, strong_observer{}).move) == san_of(full.move));
        }
    }
    EXPECT_GT(differ, 3);
}

TEST(StrongSearch, ClockLimitsStayWithinTheTimeLeft) {
    for (int64_t left : {100, 1000, 10000, 60000, 600000})
        for (int64_t inc : {0, 100, 2000})
            for (int64_t to_go : {0, 1, 5, 40}) {
                const move_budget l = budget_for_move(left, inc, to_go, 20, strong_clock_figures);
                EXPECT_GE(l.soft_ms, 1);
                EXPECT_LE(l.soft_ms, l.hard_ms);
                EXPECT_LT(l.hard_ms, std::max<int64_t>(left, 2))
                    << left << " " << inc << " " << to_go;
            }
    const move_budget fixed = limits_for_move_time(1000, 20);
    EXPECT_EQ(fixed.hard_ms, 980);
    EXPECT_LT(fixed.soft_ms, fixed.hard_ms);
}

} // namespace
