#include "rules/time/time_control.h"

namespace {

constexpr int64_t ms_per_second = 1000;
constexpr int64_t ms_per_minute = 60 * ms_per_second;
constexpr int max_whole_digits = 5;
constexpr int max_fraction_digits = 6;
constexpr int64_t fraction_scale = 1000000; // 10^max_fraction_digits

// A decimal number without sign or exponent ("5", "0.5", ".5", "5.") in `unit_ms` units,
// rounded to the millisecond; false when the text is not such a number or too long.
bool parse_decimal(std::string_view text, int64_t unit_ms, int64_t *ms) {
    int64_t whole = 0, fraction = 0, scale = fraction_scale;
    int whole_digits = 0, fraction_digits = 0;
    bool point = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (!point) {
                if (++whole_digits > max_whole_digits) return false;
                whole = whole * 10 + (c - '0');
            } else {
                if (++fraction_digits > max_fraction_digits) return false;
                scale /= 10;
                fraction += (c - '0') * scale;
            }
        } else {
            return false;
        }
    }
    if (whole_digits + fraction_digits == 0) return false;
    const int64_t scaled = whole * fraction_scale + fraction; // at most 10^11: no overflow below
    *ms = (scaled * unit_ms + fraction_scale / 2) / fraction_scale;
    return true;
}

// Seconds with up to three decimals, trailing zeros dropped: 300000 -> "300", 600 -> "0.6".
std::string seconds_text(int64_t ms) {
    std::string text = std::to_string(ms / ms_per_second);
    int64_t rest = ms % ms_per_second;
    if (rest == 0) return text;
    std::string decimals = std::to_string(ms_per_second + rest).substr(1); // three digits
    while (decimals.back() == '0') decimals.pop_back();
    return text + '.' + decimals;
}

// Splits "A+B" into A and B; without '+' B is empty and `has_plus` false.
void split_plus(std::string_view text, std::string_view *first, std::string_view *second,
                bool *has_plus) {
    const size_t plus = text.find('+');
    *has_plus = plus != std::string_view::npos;
    *first = text.substr(0, plus);
    *second = *has_plus ? text.substr(plus + 1) : std::string_view{};
}

} // namespace

bool parse_time_control(std::string_view text, time_control *out, std::string *error) {
    std::string_view minutes, seconds;
    bool has_plus;
    split_plus(text, &minutes, &seconds, &has_plus);
    time_control control{0, 0};
    if (!parse_decimal(minutes, ms_per_minute, &control.base_ms) ||
        (has_plus && !parse_decimal(seconds, ms_per_second, &control.increment_ms))) {
        *error = "the clock is M+S or M: minutes a side (a fraction allowed) and seconds of "
                 "increment, e.g. 5+3, 0.5+0 or 10";
        return false;
    }
    if (control.base_ms <= 0 || control.base_ms > max_clock_minutes * ms_per_minute) {
        *error = "the minutes must be above 0 and at most " + std::to_string(max_clock_minutes);
        return false;
    }
    if (control.increment_ms > max_increment_seconds * ms_per_second) {
        *error = "the increment is at most " + std::to_string(max_increment_seconds) + " seconds";
        return false;
    }
    *out = control;
    return true;
}

std::string time_control_tag_value(const time_control &control) {
    std::string value = seconds_text(control.base_ms);
    if (control.increment_ms > 0) value += '+' + seconds_text(control.increment_ms);
    return value;
}

bool parse_time_control_tag_value(std::string_view text, time_control *out) {
    std::string_view base, increment;
    bool has_plus;
    split_plus(text, &base, &increment, &has_plus);
    time_control control{0, 0};
    if (!parse_decimal(base, ms_per_second, &control.base_ms) || control.base_ms <= 0) return false;
    if (has_plus && !parse_decimal(increment, ms_per_second, &control.increment_ms)) return false;
    *out = control;
    return true;
}

std::vector<clock_tag> time_control_tags(const time_control &white, const time_control &black) {
    if (white == black) return {{"TimeControl", time_control_tag_value(white)}};
    return {{"TimeControl", "?"},
            {"WhiteTimeControl", time_control_tag_value(white)},
            {"BlackTimeControl", time_control_tag_value(black)}};
}
