// The Elo fit against anchors, the PGN tags it reads, and the ladder rows it writes.
#include "elo/elo.h"
#include "elo/elo_fit.h"
#include "elo/ladder_svg.h"
#include "pgn_tags.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(EloFit, KnownScoresGiveKnownElo) {
    // 75% against a 0 anchor: 400 log10(3) = +190.8, whether won or drawn.
    EXPECT_NEAR(fit_elo({{0, 15, 0, 5}}).elo, 190.85, 0.05);
    EXPECT_NEAR(fit_elo({{0, 10, 10, 0}}).elo, 190.85, 0.05);
    EXPECT_NEAR(fit_elo({{1000, 3, 0, 1}}).elo, 1190.85, 0.05);
    // The README's match of level settings against Skill Level 0: 6.5 of 80, about -420.
    EXPECT_NEAR(fit_elo({{0, 4, 5, 71}}).elo, -420, 2);
    // Opposite scores against anchors 400 apart put the player in the middle.
    const elo_fit middle = fit_elo({{1400, 30, 0, 10}, {1800, 10, 0, 30}});
    EXPECT_NEAR(middle.elo, 1600, 0.01);
    EXPECT_NEAR(middle.high - middle.elo, middle.elo - middle.low, 0.01);
    EXPECT_EQ(middle.games, 80);
    EXPECT_DOUBLE_EQ(middle.points, 40);
    // A game more against a stronger anchor, won, can only raise the fit.
    EXPECT_GT(fit_elo({{1400, 30, 0, 10}, {1800, 11, 0, 30}}).elo, middle.elo);
}

TEST(EloFit, TheIntervalAgreesWithTheScoresSpreadInLongMatches) {
    // Without draws and over many games the likelihood interval and the score's own
    // standard error (the match tool's figure) tell the same.
    const elo_fit f = fit_elo({{1500, 600, 0, 400}});
    const elo_estimate e = estimate_elo({600, 0, 400});
    EXPECT_NEAR(f.elo, 1500 + e.elo, 0.05);
    EXPECT_NEAR(f.low, 1500 + e.low, 2);
    EXPECT_NEAR(f.high, 1500 + e.high, 2);
    // Fewer games, a wider interval.
    const elo_fit few = fit_elo({{1500, 6, 0, 4}});
    EXPECT_GT(few.high - few.low, 5 * (f.high - f.low));
}

TEST(EloFit, SweepsHaveOneBound) {
    // n losses: the bound where n log(1 - E) = -3.84 / 2.
    const int n = 10;
    const double e = 1 - std::exp(-3.841459 / 2 / n);
    const elo_fit lost = fit_elo({{1500, 0, 0, n}});
    EXPECT_TRUE(std::isinf(lost.elo) && lost.elo < 0);
    EXPECT_TRUE(std::isinf(lost.low) && lost.low < 0);
    EXPECT_NEAR(lost.high, 1500 + 400 * std::log10(e / (1 - e)), 0.01);
    const elo_fit won = fit_elo({{1500, n, 0, 0}});
    EXPECT_TRUE(std::isinf(won.elo) && won.elo > 0);
    EXPECT_NEAR(won.low, 1500 - 400 * std::log10(e / (1 - e)), 0.01);
    EXPECT_EQ(fit_elo({}).games, 0);
}

TEST(EloFit, TagsOfEveryGame) {
    std::vector<game_tags> games;
    std::string error;
    ASSERT_TRUE(
        read_game_tags("[Event \"m\"]\r\n[White \"Vartok\"]\r\n[Black \"Fairy \\\"Max\\\"\"]\r\n"
                       "[Result \"0-1\"]\r\n\r\n1. e4 e5 {[White \"not a tag\"]} 0-1\r\n\r\n"
                       "[White \"A\"]\n[Black \"Vartok\"]\n[Result \"1/2-1/2\"]\n\n1. d4 1/2-1/2\n",
                       &games, &error))
        << error;
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0].white, "Vartok");
    EXPECT_EQ(games[0].black, "Fairy \"Max\"");
    EXPECT_EQ(games[0].result, "0-1");
    EXPECT_EQ(games[1].black, "Vartok");
    EXPECT_EQ(games[1].result, "1/2-1/2");
    // A file that is no PGN is refused rather than half read.
    EXPECT_FALSE(read_game_tags("[White \"A\"]\n[Black \"B\n\n1. e4 *\n", &games, &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

TEST(EloFit, LadderRows) {
    std::vector<ladder_row> rows;
    std::string error;
    ASSERT_TRUE(read_ladder("# word asked elo low high games\n"
                            "ELO=1500 1500 1523 1460 1588 120\n\n"
                            "LEVEL=1 - 640 - 797 40\n",
                            &rows, &error))
        << error;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].asked_given);
    EXPECT_EQ(rows[0].games, 120);
    EXPECT_FALSE(rows[1].asked_given);
    EXPECT_TRUE(std::isinf(rows[1].low) && rows[1].low < 0);
    for (const char *bad : {"ELO=1 1 2 3\n", "ELO=1 1 2 3 4 x\n", "ELO=1 1 2 5 4 10\n",
                            "ELO=1 1 2 3 4 5 6\n", "ELO=1 1 - - - 5\n"}) {
        rows.clear();
        EXPECT_FALSE(read_ladder(std::string("\n") + bad, &rows, &error)) << bad;
        EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    }
}
