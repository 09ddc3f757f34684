// The computer player's settings, chosen by the command-line words.
#pragma once

#include <cstdint>

extern uint8_t depth1;   // depth of the first pass
extern uint8_t depth2;   // depth of the second pass
extern uint8_t blunders; // one chance in `blunders` of taking a worse move; 0: never
extern int32_t global_deadend_score;
extern int32_t deadend_limit;

constexpr uint8_t default_depth1 = 3;
constexpr uint8_t default_depth2 = 6;
constexpr int32_t default_deadend_score = -1988;
constexpr int32_t default_deadend_limit = 548;
