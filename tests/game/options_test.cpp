#include "game/options/game_options.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

game_options parse(std::vector<const char *> words) {
    game_options options;
    parse_args(static_cast<int>(words.size()), const_cast<char **>(words.data()), &options);
    return options;
}

} // namespace

TEST(Options, DefaultsWithoutWords) {
    game_options o;
    o = parse({});
    EXPECT_EQ(o.graphics, 0);
    EXPECT_EQ(o.black_ai, 1);
    EXPECT_EQ(o.white_ai, 0);
    EXPECT_EQ(o.ai.depth1, 3);
    EXPECT_EQ(o.ai.depth2, 6);
    EXPECT_EQ(o.ai.blunders, 0);
    EXPECT_EQ(o.ai.global_deadend_score, -1988);
    EXPECT_EQ(o.ai.deadend_limit, 548);
}

TEST(Options, WholeWordsAreCaseSensitiveAndUnknownWordsIgnored) {
    game_options o;
    o = parse({"graphics", "GRAPHICS2", "WHITE_AI_", "black_human", "--help"});
    for (const char *word :
         {"graphics", "GRAPHICS2", "WHITE_AI_", "black_human", "--help", "LEVLE=1"})
        EXPECT_FALSE(known_word(word)) << word;
    // Known: words that set something, a word refused for its value, and --no-config.
    for (const char *word : {"GRAPHICS", "DEPTH1=5abc", "LEVEL=9", "PGN=", "--no-config"})
        EXPECT_TRUE(known_word(word)) << word;
    EXPECT_EQ(o.graphics, 0);
    EXPECT_EQ(o.white_ai, 0);
    EXPECT_EQ(o.black_ai, 1);
    o = parse({"WHITE_AI", "BLACK_HUMAN", "GRAPHICS"});
    EXPECT_EQ(o.graphics, 1);
    EXPECT_EQ(o.white_ai, 1);
    EXPECT_EQ(o.black_ai, 0);
}

TEST(Options, NumbersAreReadAsAtoiReadsThem) {
    game_options o;
    o = parse({"DEPTH1=5abc", "DEPTH2= +7", "BLUNDERS=x", "LIMIT=-12", "DEADEND=500"});
    EXPECT_EQ(o.ai.depth1, 5);
    EXPECT_EQ(o.ai.depth2, 7);
    EXPECT_EQ(o.ai.blunders, 0);
    EXPECT_EQ(o.ai.deadend_limit, -12);
    EXPECT_EQ(o.ai.global_deadend_score, -500);
    o = parse({"DEPTH1=", "DEADEND=-500", "DEPTH2=3", "DEPTH2=9"});
    EXPECT_EQ(o.ai.depth1, 0);
    EXPECT_EQ(o.ai.global_deadend_score, 500);
    EXPECT_EQ(o.ai.depth2, 9); // the later word wins
}

TEST(Options, EightBitSettingsWrapAndHugeNumbersSaturate) {
    game_options o;
    o = parse({"DEPTH1=260", "DEPTH2=-1", "BLUNDERS=257"});
    EXPECT_EQ(o.ai.depth1, 4);
    EXPECT_EQ(o.ai.depth2, 255);
    EXPECT_EQ(o.ai.blunders, 1);
    o = parse({"DEPTH1=99999999999999999999", "LIMIT=99999999999", "DEADEND=-99999999999"});
    EXPECT_EQ(o.ai.depth1, INT32_MAX % 256);
    EXPECT_EQ(o.ai.deadend_limit, INT32_MAX);
    EXPECT_EQ(o.ai.global_deadend_score, INT32_MAX);
    o = parse({"DEADEND=99999999999", "LIMIT=-99999999999"});
    EXPECT_EQ(o.ai.global_deadend_score, -INT32_MAX);
    EXPECT_EQ(o.ai.deadend_limit, INT32_MIN);
}
