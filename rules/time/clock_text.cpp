#include "rules/time/clock_text.h"

#include "rules/board.h"

#include <cstdio>

namespace {

constexpr int64_t ms_per_tenth = 100;
constexpr int64_t ms_per_second = 1000;
constexpr int64_t ms_per_minute = 60 * ms_per_second;
constexpr int64_t ms_per_hour = 60 * ms_per_minute;
constexpr int64_t seconds_shown_below_ms = 10 * ms_per_hour;
constexpr int64_t minutes_shown_below_ms = 100 * ms_per_hour;
constexpr std::string_view clk_opening = "[%clk";
constexpr size_t max_hour_digits = 4;
constexpr size_t max_fraction_digits = 3;

struct clock_parts {
    int64_t hours, minutes, seconds, tenths;
};

clock_parts parts_of(int64_t ms) {
    if (ms < 0) ms = 0;
    return {ms / ms_per_hour, ms / ms_per_minute % 60, ms / ms_per_second % 60,
            ms / ms_per_tenth % 10};
}

// Reads up to `max_digits` digits (at least `min_digits`) at `*pos`.
bool read_digits(std::string_view text, size_t *pos, size_t min_digits, size_t max_digits,
                 int64_t *value, size_t *count = nullptr) {
    size_t n = 0;
    *value = 0;
    while (*pos < text.size() && n < max_digits && text[*pos] >= '0' && text[*pos] <= '9') {
        *value = *value * 10 + (text[*pos] - '0');
        ++*pos, ++n;
    }
    if (count) *count = n;
    return n >= min_digits;
}

bool read_char(std::string_view text, size_t *pos, char c) {
    if (*pos >= text.size() || text[*pos] != c) return false;
    ++*pos;
    return true;
}

void skip_spaces(std::string_view text, size_t *pos) {
    while (*pos < text.size() &&
           (text[*pos] == ' ' || text[*pos] == '\t' || text[*pos] == '\n' || text[*pos] == '\r'))
        ++*pos;
}

} // namespace

std::string clock_reading(int64_t ms) {
    const clock_parts p = parts_of(ms);
    char text[40];
    if (ms >= minutes_shown_below_ms)
        std::snprintf(text, sizeof text, "%lldh", static_cast<long long>(p.hours));
    else if (ms >= seconds_shown_below_ms)
        std::snprintf(text, sizeof text, "%lldh %02lldm", static_cast<long long>(p.hours),
                      static_cast<long long>(p.minutes));
    else if (p.hours > 0)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(p.hours),
                      static_cast<long long>(p.minutes), static_cast<long long>(p.seconds));
    else if (ms >= tenths_shown_below_ms)
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(p.minutes),
                      static_cast<long long>(p.seconds));
    else
        std::snprintf(text, sizeof text, "0:%02lld.%lld", static_cast<long long>(p.seconds),
                      static_cast<long long>(p.tenths));
    return text;
}

std::string clock_label(uint8_t side, int64_t ms) {
    return (side ? "Black " : "White ") + clock_reading(ms);
}

std::string clocks_line(const chess_clock &clock, int64_t now) {
    return clock_label(side_white, time_left(clock, side_white, now)) + " | " +
           clock_label(side_black, time_left(clock, side_black, now));
}

int64_t ms_until_reading_changes(int64_t ms) {
    const int64_t step = ms < tenths_shown_below_ms    ? ms_per_tenth
                         : ms < seconds_shown_below_ms ? ms_per_second
                         : ms < minutes_shown_below_ms ? ms_per_minute
                                                       : ms_per_hour;
    return ms < 0 ? step : ms % step + 1;
}

std::string clk_annotation(int64_t ms) {
    const clock_parts p = parts_of(ms);
    char text[48];
    std::snprintf(text, sizeof text, "[%%clk %lld:%02lld:%02lld.%lld]",
                  static_cast<long long>(p.hours), static_cast<long long>(p.minutes),
                  static_cast<long long>(p.seconds), static_cast<long long>(p.tenths));
    return text;
}

bool read_clk_annotation(std::string_view comment, int64_t *ms) {
    const size_t start = comment.find(clk_opening);
    if (start == std::string_view::npos) return false;
    size_t pos = start + clk_opening.size();
    skip_spaces(comment, &pos);
    int64_t hours, minutes, seconds, fraction = 0;
    size_t fraction_digits = 0;
    if (!read_digits(comment, &pos, 1, max_hour_digits, &hours) || !read_char(comment, &pos, ':') ||
        !read_digits(comment, &pos, 2, 2, &minutes) || !read_char(comment, &pos, ':') ||
        !read_digits(comment, &pos, 2, 2, &seconds) || minutes >= 60 || seconds >= 60)
        return false;
    if (read_char(comment, &pos, '.') &&
        !read_digits(comment, &pos, 1, max_fraction_digits, &fraction, &fraction_digits))
        return false;
    skip_spaces(comment, &pos);
    if (!read_char(comment, &pos, ']')) return false;
    for (size_t d = fraction_digits; d < max_fraction_digits; d++) fraction *= 10;
    *ms = hours * ms_per_hour + minutes * ms_per_minute + seconds * ms_per_second + fraction;
    return true;
}
