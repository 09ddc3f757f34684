// The computer player's settings, chosen by the command-line words.
#pragma once

#include <cstdint>

constexpr uint8_t default_depth1 = 3;
constexpr uint8_t default_depth2 = 6;
constexpr int32_t default_deadend_score = -1988;
constexpr int32_t default_deadend_limit = 548;

struct ai_settings {
    uint8_t depth1 = default_depth1; // depth of the first pass
    uint8_t depth2 = default_depth2; // depth of the second pass
    uint8_t blunders = 0;            // one chance in `blunders` of taking a worse move; 0: never
    int32_t global_deadend_score = default_deadend_score;
    int32_t deadend_limit = default_deadend_limit;
    unsigned threads = 0; // threads rating root moves; 0: one per processor core
};
