// Reading lines with a deadline from a pipe: the wait ends at the deadline, keeps what was
// typed, hands out lines as fgets does and reports the end of input.
#include "game/input/timed_line_input.h"
#include "rules/time/chess_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <unistd.h>

namespace {

struct TimedLineInput : ::testing::Test {
    int ends[2] = {-1, -1};
    timed_line_input input;
    char buff[80];

    void SetUp() override {
        ASSERT_EQ(pipe(ends), 0);
        input.fd = ends[0];
    }
    void TearDown() override {
        close(ends[0]);
        if (ends[1] >= 0) close(ends[1]);
    }
    void type(const std::string &text) const {
        ASSERT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void close_input() {
        close(ends[1]);
        ends[1] = -1;
    }
    line_wait read(int64_t deadline = no_deadline, int size = sizeof(buff)) {
        return read_line_before(&input, buff, size, deadline);
    }
};

constexpr int64_t short_wait_ms = 30;

} // namespace

TEST_F(TimedLineInput, NoDataTimesOutAtTheDeadline) {
    const int64_t start = steady_now_ms();
    EXPECT_EQ(read(start + short_wait_ms), line_wait::timeout);
    const int64_t waited = steady_now_ms() - start;
    EXPECT_GE(waited, short_wait_ms);
    EXPECT_LT(waited, short_wait_ms + 1000);    // at the deadline, not at a later poll
    EXPECT_EQ(read(start), line_wait::timeout); // a deadline already past: at once
}

TEST_F(TimedLineInput, WhatWasTypedBeforeTheDeadlineIsKept) {
    type("e2");
    EXPECT_EQ(read(steady_now_ms() + short_wait_ms), line_wait::timeout);
    type("e4\nd7d5\n");
    EXPECT_EQ(read(steady_now_ms() + short_wait_ms), line_wait::line);
    EXPECT_STREQ(buff, "e2e4\n");
    // A whole line is handed out even when its deadline has passed.
    EXPECT_EQ(read(steady_now_ms() - 1), line_wait::line);
    EXPECT_STREQ(buff, "d7d5\n");
}

TEST_F(TimedLineInput, DataArrivingDuringTheWaitEndsIt) {
    const int64_t start = steady_now_ms();
    std::thread typist([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        type("g1f3\n");
    });
    EXPECT_EQ(read(start + 10000), line_wait::line);
    typist.join();
    EXPECT_STREQ(buff, "g1f3\n");
    EXPECT_LT(steady_now_ms() - start, 5000);
}

TEST_F(TimedLineInput, LongLinesComeInPiecesAsWithFgets) {
    type("abcdefghij\nxy");
    EXPECT_EQ(read(no_deadline, 8), line_wait::line);
    EXPECT_STREQ(buff, "abcdefg");
    EXPECT_EQ(read(no_deadline, 8), line_wait::line);
    EXPECT_STREQ(buff, "hij\n");
    close_input();
    EXPECT_EQ(read(no_deadline, 8), line_wait::line); // the last line, without its newline
    EXPECT_STREQ(buff, "xy");
    EXPECT_EQ(read(no_deadline, 8), line_wait::end_of_input);
    EXPECT_EQ(read(steady_now_ms() + short_wait_ms), line_wait::end_of_input);
}

TEST_F(TimedLineInput, TheEndOfInputIsReportedAtOnce) {
    close_input();
    const int64_t start = steady_now_ms();
    EXPECT_EQ(read(start + 10000), line_wait::end_of_input);
    EXPECT_LT(steady_now_ms() - start, 5000);
    EXPECT_EQ(read(no_deadline, 1), line_wait::end_of_input); // no room: nothing read
}
