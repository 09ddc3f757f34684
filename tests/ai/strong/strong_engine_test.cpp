// The engine with Player strong: a search under way answers "stop" at once, and the limits
// of a go command reach the search.
#include "engine/search_driver.h"
#include "engine/strong_driver.h"
#include "strong_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

search_request strong_request(const game_state &game) {
    search_request r;
    r.game = game;
    r.options = default_engine_options();
    r.options.player = engine_player::strong;
    r.options.settings.threads = 1;
    r.options.hash_mb = 16;
    return r;
}

TEST(StrongEngine, StopIsAnsweredWithin50Milliseconds) {
    for (int round = 0; round < 3; round++) {
        search_driver driver;
        search_request request = strong_request(
            game_at("r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2NB4/PPP1Q1PP/2KR3R w - - 0 13"));
        request.limits.infinite = true;
        start_search(&driver, request);
        std::this_thread::sleep_for(std::chrono::milliseconds(200 + 100 * round));
        const auto asked = std::chrono::steady_clock::now();
        stop_search(&driver); // returns once bestmove has been sent
        const auto answered = std::chrono::steady_clock::now();
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(answered - asked).count(),
                  50);
        EXPECT_FALSE(driver.busy.load());
    }
}

TEST(StrongEngine, GoLimitsBecomeSearchLimits) {
    search_request r = strong_request(game_at("8/8/8/4k3/8/8/8/3QK3 w - - 0 1"));
    r.limits.depth = 7;
    r.limits.nodes = 5000;
    strong_settings s = strong_settings_for(r);
    EXPECT_EQ(s.depth_limit, 7);
    EXPECT_EQ(s.node_limit, 5000u);
    EXPECT_EQ(s.time.hard_ms, no_time_limit);
    EXPECT_EQ(s.hash_mb, 16);

    r = strong_request(game_at("8/8/8/4k3/8/8/8/3QK3 b - - 0 1"));
    r.options.move_overhead_ms = 50;
    r.limits.movetime = 1000;
    EXPECT_EQ(strong_settings_for(r).time.hard_ms, 950);
    // Black's clock counts for Black, and the shorter of clock and move time wins.
    r.limits.time[0] = 600000;
    r.limits.time[1] = 2000;
    s = strong_settings_for(r);
    EXPECT_LT(s.time.hard_ms, 950);
    EXPECT_LE(s.time.soft_ms, s.time.hard_ms);
    r.limits.infinite = true;
    EXPECT_EQ(strong_settings_for(r).time.hard_ms, no_time_limit);
}

} // namespace
