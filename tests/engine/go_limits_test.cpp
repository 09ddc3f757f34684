// Reading "go" and turning it into a time budget: a part that cannot be used is named and
// skipped while the rest counts, and each side thinks on its own clock.
#include "engine/go_limits.h"
#include "engine/time_budget.h"
#include "rules/time/move_budget.h"

#include <gtest/gtest.h>

namespace {

go_limits parse(const char *line, std::vector<std::string> *problems) {
    return parse_go(split_words(line), 1, problems);
}

} // namespace

TEST(GoLimits, BadPartsAreNamedAndSkippedTheRestCounts) {
    std::vector<std::string> problems;
    const go_limits l = parse("go wtime x btime 9000 depth 0 winc 5 nodes 100 fly movestogo -2 "
                              "searchmoves e2e4 d2d4 binc 7 depth 4 movetime",
                              &problems);
    EXPECT_EQ(l.time[0], no_limit);
    EXPECT_EQ(l.time[1], 9000);
    EXPECT_EQ(l.increment[0], 5);
    EXPECT_EQ(l.increment[1], 7);
    EXPECT_EQ(l.depth, 4);
    EXPECT_EQ(l.movestogo, 0);
    EXPECT_EQ(l.movetime, no_limit);
    const char *named[] = {"wtime needs a whole number",   "unknown word 'x'",
                           "depth must be 1 to 255",       "nodes is not supported",
                           "unknown word 'fly'",           "movestogo cannot be negative",
                           "searchmoves is not supported", "movetime needs a whole number"};
    ASSERT_EQ(problems.size(), std::size(named));
    for (size_t i = 0; i < problems.size(); i++)
        EXPECT_NE(problems[i].find(named[i]), std::string::npos) << problems[i];
}

TEST(GoLimits, EachSideThinksOnItsOwnClock) {
    std::vector<std::string> problems;
    const go_limits l = parse("go wtime 60000 btime 3000 winc 1000 binc 0", &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(move_time_budget(l, 0), 60000 / assumed_moves_to_go + 1000 - move_overhead_ms);
    EXPECT_EQ(move_time_budget(l, 1), 3000 / assumed_moves_to_go - move_overhead_ms);
}

TEST(GoLimits, BudgetNeverRisksMoreThanHalfTheClockNorGoesBelowZero) {
    std::vector<std::string> problems;
    // The last move before the time control, and an increment larger than the clock.
    EXPECT_EQ(move_time_budget(parse("go btime 4000 movestogo 1", &problems), 1),
              2000 - move_overhead_ms);
    EXPECT_EQ(move_time_budget(parse("go wtime 1000 winc 5000", &problems), 0),
              500 - move_overhead_ms);
    EXPECT_EQ(move_time_budget(parse("go wtime -300", &problems), 0), 0);
    EXPECT_EQ(move_time_budget(parse("go movetime 5", &problems), 0), 0);
    // A fixed time and a clock: whichever ends first.
    EXPECT_EQ(move_time_budget(parse("go movetime 5000 wtime 30000", &problems), 0),
              1000 - move_overhead_ms);
    EXPECT_EQ(move_time_budget(parse("go movetime 300 wtime 30000", &problems), 0),
              300 - move_overhead_ms);
    EXPECT_EQ(move_time_budget(parse("go infinite wtime 30000", &problems), 0), no_limit);
    EXPECT_EQ(move_time_budget(parse("go depth 4", &problems), 0), no_limit);
    EXPECT_TRUE(problems.empty());
}
