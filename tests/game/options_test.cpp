#include "ai/ai_settings.h"
#include "game/settings.h"
#include "game/startup.h"
#include "rules/live_game.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

void parse(std::vector<const char *> words) {
    game_status = {};
    graphics = 0;
    blunders = 0;
    global_deadend_score = default_deadend_score;
    deadend_limit = default_deadend_limit;
    parse_args(static_cast<int>(words.size()), const_cast<char **>(words.data()));
}

} // namespace

TEST(Options, DefaultsWithoutWords) {
    parse({});
    EXPECT_EQ(graphics, 0);
    EXPECT_EQ(game_status.black_ai, 1);
    EXPECT_EQ(game_status.white_ai, 0);
    EXPECT_EQ(depth1, 3);
    EXPECT_EQ(depth2, 6);
    EXPECT_EQ(blunders, 0);
    EXPECT_EQ(global_deadend_score, -1988);
    EXPECT_EQ(deadend_limit, 548);
}

TEST(Options, WholeWordsAreCaseSensitiveAndUnknownWordsIgnored) {
    parse({"graphics", "GRAPHICS2", "WHITE_AI_", "black_human", "--help"});
    EXPECT_EQ(graphics, 0);
    EXPECT_EQ(game_status.white_ai, 0);
    EXPECT_EQ(game_status.black_ai, 1);
    parse({"WHITE_AI", "BLACK_HUMAN", "GRAPHICS"});
    EXPECT_EQ(graphics, 1);
    EXPECT_EQ(game_status.white_ai, 1);
    EXPECT_EQ(game_status.black_ai, 0);
}

TEST(Options, NumbersAreReadAsAtoiReadsThem) {
    parse({"DEPTH1=5abc", "DEPTH2= +7", "BLUNDERS=x", "LIMIT=-12", "DEADEND=500"});
    EXPECT_EQ(depth1, 5);
    EXPECT_EQ(depth2, 7);
    EXPECT_EQ(blunders, 0);
    EXPECT_EQ(deadend_limit, -12);
    EXPECT_EQ(global_deadend_score, -500);
    parse({"DEPTH1=", "DEADEND=-500", "DEPTH2=3", "DEPTH2=9"});
    EXPECT_EQ(depth1, 0);
    EXPECT_EQ(global_deadend_score, 500);
    EXPECT_EQ(depth2, 9); // the later word wins
}

TEST(Options, EightBitSettingsWrapAndHugeNumbersSaturate) {
    parse({"DEPTH1=260", "DEPTH2=-1", "BLUNDERS=257"});
    EXPECT_EQ(depth1, 4);
    EXPECT_EQ(depth2, 255);
    EXPECT_EQ(blunders, 1);
    parse({"DEPTH1=99999999999999999999", "LIMIT=99999999999", "DEADEND=-99999999999"});
    EXPECT_EQ(depth1, INT32_MAX % 256);
    EXPECT_EQ(deadend_limit, INT32_MAX);
    EXPECT_EQ(global_deadend_score, INT32_MAX);
    parse({"DEADEND=99999999999", "LIMIT=-99999999999"});
    EXPECT_EQ(global_deadend_score, -INT32_MAX);
    EXPECT_EQ(deadend_limit, INT32_MIN);
}
