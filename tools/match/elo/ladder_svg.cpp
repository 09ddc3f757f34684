#include "elo/ladder_svg.h"
#include "svg_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>

namespace {

constexpr double width = 760, height = 560;
constexpr double left = 80, right = 190, top = 50, bottom = 70; // margins
constexpr double grid_step = 200;
constexpr double target_margin = 100; // the band the settings aim at
constexpr double point_radius = 4.5, cap = 5;
constexpr double label_spacing = 13; // between the names of marked rows
constexpr double infinity = std::numeric_limits<double>::infinity();

bool read_value(const std::string &word, double *out) {
    if (word == "-") {
        *out = infinity;
        return true;
    }
    char *end = nullptr;
    *out = std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0' && std::isfinite(*out);
}

std::string whole(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", v);
    return text;
}

// The Elo range shown on both axes: every finite value, a margin, whole grid steps.
struct scale {
    double low, high;
    double x(double elo) const {
        return left + (elo - low) / (high - low) * (width - left - right);
    }
    double y(double elo) const {
        return top + (high - elo) / (high - low) * (height - top - bottom);
    }
    double clamp(double elo) const { return std::clamp(elo, low, high); }
};

// The marked rows' intervals do not widen it: a weak level's wide interval would squeeze the
// settings into a corner; it is cut at the picture's edge.
scale scale_of(const std::vector<ladder_row> &rows) {
    double low = infinity, high = -infinity;
    for (const ladder_row &r : rows)
        for (double v : {r.asked_given ? r.asked : infinity, r.elo,
                         r.asked_given || !std::isfinite(r.elo) ? r.low : infinity,
                         r.asked_given || !std::isfinite(r.elo) ? r.high : infinity})
            if (std::isfinite(v)) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
    if (!std::isfinite(low)) low = high = 1500;
    return {std::floor((low - target_margin) / grid_step) * grid_step,
            std::ceil((high + target_margin) / grid_step) * grid_step};
}

void line(std::ostringstream &svg, double x1, double y1, double x2, double y2,
          const std::string &style) {
    svg << "<line x1=\"" << svg_number(x1) << "\" y1=\"" << svg_number(y1) << "\" x2=\""
        << svg_number(x2) << "\" y2=\"" << svg_number(y2) << "\" " << style << "/>\n";
}

void draw_axes(std::ostringstream &svg, const scale &s) {
    for (double v = s.low; v <= s.high + 1e-9; v += grid_step) {
        line(svg, s.x(v), s.y(s.low), s.x(v), s.y(s.high), "stroke=\"#e4e4e4\"");
        line(svg, s.x(s.low), s.y(v), s.x(s.high), s.y(v), "stroke=\"#e4e4e4\"");
        svg_label(svg, s.x(v), s.y(s.low) + 18, whole(v), "text-anchor=\"middle\"");
        svg_label(svg, s.x(s.low) - 8, s.y(v) + 4, whole(v), "text-anchor=\"end\"");
    }
    svg_label(svg, (s.x(s.low) + s.x(s.high)) / 2, height - 20, "Elo asked for",
              "text-anchor=\"middle\"");
    svg << "<text transform=\"translate(20 " << svg_number((s.y(s.low) + s.y(s.high)) / 2)
        << ") rotate(-90)\" text-anchor=\"middle\">Elo measured (95% interval)</text>\n";
}

// Measured = asked, and the band of +/-100 around it, cut to the picture.
void draw_target(std::ostringstream &svg, const scale &s) {
    std::ostringstream band;
    const auto corner = [&](double asked, double measured) {
        band << svg_number(s.x(asked)) << "," << svg_number(s.y(s.clamp(measured))) << " ";
    };
    corner(s.low, s.low + target_margin);
    corner(s.high, s.high + target_margin);
    corner(s.high, s.high - target_margin);
    corner(s.low, s.low - target_margin);
    svg << "<polygon points=\"" << band.str() << "\" fill=\"#cdeccd\" fill-opacity=\"0.8\" "
        << "stroke=\"none\"/>\n";
    line(svg, s.x(s.low), s.y(s.low), s.x(s.high), s.y(s.high),
         "stroke=\"#6a9a6a\" stroke-dasharray=\"6 4\"");
    svg_label(svg, s.x(s.high) + 6, top + 12, "green: asked +/-100", "font-size=\"11\"");
}

void draw_setting(std::ostringstream &svg, const scale &s, const ladder_row &r) {
    const double x = s.x(r.asked);
    const double low = s.y(s.clamp(r.low)), high = s.y(s.clamp(r.high));
    line(svg, x, low, x, high, "stroke=\"#1f4e9a\" stroke-width=\"1.5\"");
    if (std::isfinite(r.low)) line(svg, x - cap, low, x + cap, low, "stroke=\"#1f4e9a\"");
    if (std::isfinite(r.high)) line(svg, x - cap, high, x + cap, high, "stroke=\"#1f4e9a\"");
    // A sweep has a bound only: its point stands there, hollow.
    const bool measured = std::isfinite(r.elo);
    const double elo = measured ? r.elo : std::isfinite(r.low) ? r.low : r.high;
    svg << "<circle cx=\"" << svg_number(x) << "\" cy=\"" << svg_number(s.y(s.clamp(elo)))
        << "\" r=\"" << point_radius << "\" fill=\"" << (measured ? "#1f4e9a" : "white")
        << "\" stroke=\"#1f4e9a\"/>\n";
    svg_label(svg, x + 7, s.y(s.clamp(elo)) - 6, r.word, "font-size=\"11\"");
}

// The interval of a marked row, a light band under everything else.
void draw_mark_band(std::ostringstream &svg, const scale &s, const ladder_row &r) {
    const double low = s.y(s.clamp(r.low)), high = s.y(s.clamp(r.high));
    svg << "<rect x=\"" << svg_number(s.x(s.low)) << "\" y=\"" << svg_number(high) << "\" width=\""
        << svg_number(s.x(s.high) - s.x(s.low)) << "\" height=\"" << svg_number(low - high)
        << "\" fill=\"#fcecd9\" fill-opacity=\"0.45\" stroke=\"none\"/>\n";
}

double mark_elo(const ladder_row &r) {
    return std::isfinite(r.elo) ? r.elo : std::isfinite(r.low) ? r.low : r.high;
}

// The marked rows' lines, and their names in the right margin from the top down, each at
// least a line below the one before so that close levels stay readable.
void draw_marks(std::ostringstream &svg, const scale &s, const std::vector<ladder_row> &rows) {
    std::vector<const ladder_row *> marks;
    for (const ladder_row &r : rows)
        if (!r.asked_given) marks.push_back(&r);
    std::stable_sort(marks.begin(), marks.end(), [](const ladder_row *a, const ladder_row *b) {
        return mark_elo(*a) > mark_elo(*b);
    });
    double next_free = -infinity;
    for (const ladder_row *r : marks) {
        const double y = s.y(s.clamp(mark_elo(*r)));
        line(svg, s.x(s.low), y, s.x(s.high), y, "stroke=\"#d9822b\" stroke-dasharray=\"3 3\"");
        const double label_y = std::max(y + 4, next_free);
        next_free = label_y + label_spacing;
        const std::string value = std::isfinite(r->elo)    ? whole(r->elo)
                                  : std::isfinite(r->high) ? "below " + whole(r->high)
                                                           : "above " + whole(r->low);
        svg_label(svg, s.x(s.high) + 6, label_y, r->word + " " + value,
                  "font-size=\"11\" fill=\"#a65d17\"");
    }
}

} // namespace

bool read_ladder(const std::string &text, std::vector<ladder_row> *rows, std::string *error) {
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); number++) {
        std::istringstream words(line);
        std::string word, asked, elo, low, high, games, extra;
        if (!(words >> word) || word[0] == '#') continue;
        ladder_row r;
        r.word = word;
        char *end = nullptr;
        const bool ok = words >> asked >> elo >> low >> high >> games && !(words >> extra) &&
                        read_value(asked, &r.asked) && read_value(elo, &r.elo) &&
                        read_value(low, &r.low) && read_value(high, &r.high) &&
                        (r.games = static_cast<int>(std::strtol(games.c_str(), &end, 10))) >= 0 &&
                        *end == '\0';
        r.asked_given = std::isfinite(r.asked);
        if (r.low == infinity) r.low = -infinity; // a '-' low bound lies below everything
        if (!ok || (!std::isfinite(r.low) && !std::isfinite(r.high)) || r.low > r.high) {
            *error = "line " + std::to_string(number) +
                     ": expected WORD ASKED ELO LOW HIGH GAMES, LOW <= HIGH, '-' for none";
            return false;
        }
        rows->push_back(r);
    }
    return true;
}

std::string ladder_svg(const std::vector<ladder_row> &rows, const std::string &title) {
    const scale s = scale_of(rows);
    std::ostringstream svg;
    svg << svg_opening(width, height);
    svg_label(svg, width / 2, 28, title, "text-anchor=\"middle\" font-size=\"16\"");
    for (const ladder_row &r : rows)
        if (!r.asked_given) draw_mark_band(svg, s, r);
    draw_axes(svg, s);
    draw_target(svg, s);
    draw_marks(svg, s, rows);
    for (const ladder_row &r : rows)
        if (r.asked_given) draw_setting(svg, s, r);
    svg << "</svg>\n";
    return svg.str();
}
