// A time control for one side: the time on its clock at the start and the increment added
// after each of its moves. Read from the words `M+S` and `M`, written to and read from the
// record's TimeControl tags.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct time_control {
    int64_t base_ms;      // on the clock when the game starts
    int64_t increment_ms; // added after each move
    friend bool operator==(const time_control &, const time_control &) = default;
};

// The largest values accepted: a day on the clock and an hour of increment.
constexpr int64_t max_clock_minutes = 24 * 60;
constexpr int64_t max_increment_seconds = 60 * 60;

// Reads `M+S` or `M`: M minutes (a decimal fraction allowed, above 0) and S seconds of
// increment (a fraction allowed; none means 0), e.g. "5+3", "0.5+0", "10". Values are
// rounded to the millisecond. On failure returns false and says why in `error`, as a
// sentence part the caller puts after the word ("CLOCK=x: " + error).
bool parse_time_control(std::string_view text, time_control *out, std::string *error);

// One PGN tag pair.
struct clock_tag {
    std::string name;
    std::string value;
};

// The TimeControl tag's value: seconds, and "+increment" when there is one ("300+3", "30");
// a fraction of a second is written with up to three decimals ("0.6+0.5").
std::string time_control_tag_value(const time_control &control);

// Reads a value written by time_control_tag_value. "?" (unknown) and "-" (none) give false.
bool parse_time_control_tag_value(std::string_view text, time_control *out);

// The tags of the game's time control. Both sides alike: TimeControl alone. Odds: TimeControl
// "?" (no single value describes the game), then WhiteTimeControl and BlackTimeControl, each
// with the value above.
std::vector<clock_tag> time_control_tags(const time_control &white, const time_control &black);
