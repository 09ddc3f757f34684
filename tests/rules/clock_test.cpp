// Time controls, the clock with an injected time, its text and a computer's budget.
#include "rules/time/chess_clock.h"
#include "rules/time/clock_text.h"
#include "rules/time/move_budget.h"
#include "rules/time/time_control.h"

#include <gtest/gtest.h>

namespace {

time_control parsed(const char *text) {
    time_control tc{-1, -1};
    std::string error;
    EXPECT_TRUE(parse_time_control(text, &tc, &error)) << text << ": " << error;
    return tc;
}

constexpr time_control five_three{300000, 3000};
constexpr time_control three_seconds{3000, 0};

} // namespace

TEST(TimeControl, WordValuesInMinutesAndSeconds) {
    EXPECT_EQ(parsed("5+3"), five_three);
    EXPECT_EQ(parsed("0.5+0"), (time_control{30000, 0}));
    EXPECT_EQ(parsed("10"), (time_control{600000, 0}));
    EXPECT_EQ(parsed("0.05"), three_seconds); // 0.05 is no exact binary fraction
    EXPECT_EQ(parsed(".5+2.5"), (time_control{30000, 2500}));
    EXPECT_EQ(parsed("1440+3600"), (time_control{86400000, 3600000}));
    EXPECT_EQ(parsed("0.00001"), (time_control{1, 0})); // 0.6 ms rounds to 1
}

TEST(TimeControl, BadValuesSayWhy) {
    for (const char *bad :
         {"", "+3", "5+", "abc", "5+3+1", "-1", "5+-1", "5 +3", "1e3", "5,5", "1..5", "0", "0+3",
          "0.000001", "1441", "5+3601", "99999999", "0.1234567"}) {
        time_control tc{7, 7};
        std::string error;
        EXPECT_FALSE(parse_time_control(bad, &tc, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
        EXPECT_EQ(tc, (time_control{7, 7})) << bad; // left alone
    }
}

TEST(TimeControl, TagValuesInSecondsReadBack) {
    EXPECT_EQ(time_control_tag_value(five_three), "300+3");
    EXPECT_EQ(time_control_tag_value(parsed("0.5")), "30");
    EXPECT_EQ(time_control_tag_value(parsed("0.5+0")), "30");
    EXPECT_EQ(time_control_tag_value(parsed("0.01+0.25")), "0.6+0.25");
    for (const char *word : {"5+3", "0.05", "0.01+0.25", "90+30", "0.00001+0.001"}) {
        const time_control tc = parsed(word);
        time_control back{};
        EXPECT_TRUE(parse_time_control_tag_value(time_control_tag_value(tc), &back)) << word;
        EXPECT_EQ(back, tc) << word;
    }
    time_control unused{};
    for (const char *other : {"?", "-", "40/7200:3600", "", "0", "300+"})
        EXPECT_FALSE(parse_time_control_tag_value(other, &unused)) << other;
}

TEST(ChessClock, OnlyTheRunningSideLosesTime) {
    chess_clock clock = new_clock(five_three, three_seconds);
    EXPECT_EQ(ms_until_flag(clock, 1000), no_deadline);
    start_clock(&clock, side_white, 1000);
    EXPECT_EQ(time_left(clock, side_white, 1500), 299500);
    EXPECT_EQ(time_left(clock, side_black, 90000), 3000);
    EXPECT_EQ(ms_until_flag(clock, 1500), 299500);
    // Charging splits the time used without changing it.
    charge_clock(&clock, 1200);
    EXPECT_EQ(time_left(clock, side_white, 1500), 299500);
    // Starting the other side charges White and stops its time.
    start_clock(&clock, side_black, 2000);
    EXPECT_EQ(time_left(clock, side_white, 50000), 299000);
    EXPECT_EQ(time_left(clock, side_black, 2500), 2500);
    // A reading from before the last charge takes nothing back and charges nothing.
    charge_clock(&clock, 1000);
    EXPECT_EQ(time_left(clock, side_black, 2500), 2500);
}

TEST(ChessClock, TheFlagFallsAtTheExactMoment) {
    chess_clock clock = new_clock(three_seconds, three_seconds);
    start_clock(&clock, side_black, 10000);
    EXPECT_FALSE(flag_fallen(clock, side_black, 12999));
    EXPECT_EQ(ms_until_flag(clock, 12999), 1);
    EXPECT_TRUE(flag_fallen(clock, side_black, 13000));
    EXPECT_EQ(ms_until_flag(clock, 13000), 0);
    EXPECT_EQ(time_left(clock, side_black, 99999), 0); // never below 0
    EXPECT_FALSE(flag_fallen(clock, side_white, 99999));
}

TEST(ChessClock, TheIncrementComesAfterEachMove) {
    chess_clock clock = new_clock(five_three, time_control{60000, 500});
    start_clock(&clock, side_white, 0);
    EXPECT_TRUE(stop_clock(&clock, 4000));
    EXPECT_EQ(clock.remaining_ms[side_white], 300000 - 4000 + 3000);
    EXPECT_EQ(clock.running, clock_stopped);
    EXPECT_EQ(time_left(clock, side_white, 900000), 299000); // stopped: no time runs
    start_clock(&clock, side_black, 4000);
    EXPECT_TRUE(stop_clock(&clock, 5000));
    EXPECT_EQ(clock.remaining_ms[side_black], 60000 - 1000 + 500);
    // Two moves in a row: the increment each time.
    start_clock(&clock, side_white, 5000);
    stop_clock(&clock, 5000);
    start_clock(&clock, side_white, 5000);
    stop_clock(&clock, 5000);
    EXPECT_EQ(clock.remaining_ms[side_white], 299000 + 6000);
    // No clock running: nothing to add.
    EXPECT_TRUE(stop_clock(&clock, 6000));
    EXPECT_EQ(clock.remaining_ms[side_white], 305000);
}

TEST(ChessClock, AMoveAfterTheFlagGetsNoIncrementAndPausingNone) {
    chess_clock clock = new_clock(three_seconds, time_control{3000, 2000});
    start_clock(&clock, side_black, 0);
    EXPECT_FALSE(stop_clock(&clock, 3000));
    EXPECT_EQ(clock.remaining_ms[side_black], 0);
    clock.remaining_ms[side_black] = 3000;
    start_clock(&clock, side_black, 0);
    pause_clock(&clock, 1000);
    EXPECT_EQ(clock.remaining_ms[side_black], 2000);
    EXPECT_EQ(clock.running, clock_stopped);
}

TEST(ChessClock, ReadingsFromARecordRestoreTheClocks) {
    chess_clock clock = clock_from_readings(five_three, three_seconds, 123400, no_reading);
    EXPECT_EQ(clock.remaining_ms[side_white], 123400);
    EXPECT_EQ(clock.remaining_ms[side_black], 3000); // no reading yet: the full time
    EXPECT_EQ(clock.running, clock_stopped);
    EXPECT_EQ(clock.control[side_white], five_three);
    clock = clock_from_readings(five_three, three_seconds, no_reading, 0);
    EXPECT_EQ(clock.remaining_ms[side_white], 300000);
    EXPECT_EQ(clock.remaining_ms[side_black], 0);
}

TEST(ClockText, ReadingsCutDownWithTenthsBelowTwentySeconds) {
    EXPECT_EQ(clock_reading(293200), "4:53");
    EXPECT_EQ(clock_reading(300000), "5:00");
    EXPECT_EQ(clock_reading(20000), "0:20");
    EXPECT_EQ(clock_reading(19999), "0:19.9");
    EXPECT_EQ(clock_reading(5300), "0:05.3");
    EXPECT_EQ(clock_reading(99), "0:00.0");
    EXPECT_EQ(clock_reading(0), "0:00.0");
    EXPECT_EQ(clock_reading(-5), "0:00.0");
    EXPECT_EQ(clock_reading(3599999), "59:59");
    EXPECT_EQ(clock_reading(3600000), "1:00:00");
    EXPECT_EQ(clock_reading(35999999), "9:59:59");
    EXPECT_EQ(clock_reading(37234000), "10h 20m");
    EXPECT_EQ(clock_reading(100 * 3600000), "100h");
    EXPECT_EQ(clock_label(side_black, 19750), "Black 0:19.7");
    for (int64_t ms : {int64_t{3599999}, int64_t{35999999}, int64_t{359999999}, int64_t{1} << 40})
        EXPECT_LE(clock_label(side_white, ms).size(), 13u) << ms; // the panel's width
}

TEST(ClockText, TheLineShowsBothClocksAtTheInstant) {
    chess_clock clock = new_clock(five_three, five_three);
    start_clock(&clock, side_white, 0);
    EXPECT_EQ(clocks_line(clock, 6800), "White 4:53 | Black 5:00");
}

// The redraw wait is checked against the readings themselves: the reading stays the same for
// one millisecond less than the wait and changes at the wait (from 0.1 s on: below it the
// reading is 0:00.0 until the flag falls).
TEST(ClockText, TheRedrawComesWhenTheReadingChanges) {
    for (int64_t ms = 100; ms < 400000000; ms += (ms < 25000 ? 7 : ms < 4000000 ? 997 : 99991)) {
        const int64_t wait = ms_until_reading_changes(ms);
        ASSERT_GT(wait, 0);
        EXPECT_EQ(clock_reading(ms - wait + 1), clock_reading(ms)) << ms;
        EXPECT_NE(clock_reading(ms - wait), clock_reading(ms)) << ms;
    }
    EXPECT_LE(ms_until_reading_changes(60000), 1000);
    EXPECT_LE(ms_until_reading_changes(19999), 100);
}

TEST(ClockText, ClkCommentsReadBack) {
    EXPECT_EQ(clk_annotation(293200), "[%clk 0:04:53.2]");
    EXPECT_EQ(clk_annotation(3723499), "[%clk 1:02:03.4]");
    EXPECT_EQ(clk_annotation(0), "[%clk 0:00:00.0]");
    for (int64_t ms = 0; ms < 40000000; ms += 123457) {
        int64_t back = -1;
        ASSERT_TRUE(read_clk_annotation(clk_annotation(ms), &back)) << ms;
        EXPECT_EQ(back, ms / 100 * 100) << ms;
    }
    int64_t ms = -1;
    EXPECT_TRUE(read_clk_annotation("[%clk 0:04:53]", &ms));
    EXPECT_EQ(ms, 293000);
    EXPECT_TRUE(read_clk_annotation(" [%eval 0.25] [%clk  1:02:03.25 ]", &ms));
    EXPECT_EQ(ms, 3723250);
    for (const char *bad : {"", "[%clk]", "[%clk 0:4:53]", "[%clk 0:04:60]", "[%clk 0:60:00]",
                            "[%clk 0:04:53", "[%clk 0:04:53.]", "[%clk 0:04:53.1234]",
                            "[%clk 12345:00:00]", "[%clock 0:04:53]", "[%clk -0:04:53]"}) {
        ms = -1;
        EXPECT_FALSE(read_clk_annotation(bad, &ms)) << bad;
        EXPECT_EQ(ms, -1) << bad;
    }
}

TEST(MoveBudget, AShareOfTheClockWithinItsLimits) {
    move_budget b = budget_for_move(300000, 3000, 0, 20, classic_clock_figures); // 30 moves assumed
    EXPECT_EQ(b.soft_ms, 10000 + 3000 - 20);
    EXPECT_EQ(b.hard_ms, 3 * 13000 - 20);
    b = budget_for_move(1000, 5000, 0, 0,
                        classic_clock_figures); // a large increment: half and three quarters
    EXPECT_EQ(b.soft_ms, 500);
    EXPECT_EQ(b.hard_ms, 750);
    for (int64_t left : {-50, 0, 1, 50, 999, 60000, 3600000})
        for (int64_t inc : {0, 100, 3000, 60000})
            for (int64_t togo : {-1, 0, 1, 5, 40}) {
                const move_budget m = budget_for_move(left, inc, togo, 20, classic_clock_figures);
                EXPECT_GE(m.soft_ms, 0);
                EXPECT_LE(m.soft_ms, m.hard_ms);
                EXPECT_LT(m.hard_ms, std::max<int64_t>(left, 1)); // never the whole clock
            }
}
