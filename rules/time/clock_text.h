// The clocks as text: the line shown before a prompt, the panel's lines, and the record's
// %clk comments.
#pragma once

#include "rules/time/chess_clock.h"

#include <cstdint>
#include <string>
#include <string_view>

// Below this a clock shows tenths of a second.
constexpr int64_t tenths_shown_below_ms = 20000;

// A clock's reading, cut down (never rounded up, so 0 shows only when the flag falls):
// "0:19.7" below 20 s, "4:53" below an hour, "1:04:53" below 10 hours, "12h 04m" below 100
// hours and "123h" from there on. At most 7 characters below 10^7 hours.
std::string clock_reading(int64_t ms);

// "White 4:53" or "Black 0:19.7": one side's clock, at most 13 characters (the panel's line).
std::string clock_label(uint8_t side, int64_t ms);

// "White 4:53 | Black 5:00" at `now`.
std::string clocks_line(const chess_clock &clock, int64_t now);

// Milliseconds until a clock running with `ms` left shows another reading: within a tenth
// below 20 s, within a second below 10 hours. The window redraws the clocks after that long.
int64_t ms_until_reading_changes(int64_t ms);

// The record's comment after a move, without its braces: "[%clk 0:04:53.2]" (hours, minutes,
// seconds and tenths, cut down).
std::string clk_annotation(int64_t ms);

// Finds "[%clk H:MM:SS]" or "[%clk H:MM:SS.f]" (up to three decimals) in a comment's text
// and gives its time in ms; false when there is none or it is malformed.
bool read_clk_annotation(std::string_view comment, int64_t *ms);
