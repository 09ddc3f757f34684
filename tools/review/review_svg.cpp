#include "review_svg.h"
#include "svg_text.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

constexpr double width = 760, height = 400;
constexpr double left = 60, right = 30, top = 50, bottom = 60; // margins
constexpr double point_radius = 4.5;
constexpr const char *line_colour = "#1f4e9a";
constexpr const char *mistake_colour = "#d9822b";
constexpr const char *blunder_colour = "#c0392b";

// Half-moves across, White's Win% up.
struct scale {
    double plies;
    double x(double ply) const { return left + ply / plies * (width - left - right); }
    double y(double win) const { return top + (100 - win) / 100 * (height - top - bottom); }
};

void line(std::ostringstream &svg, double x1, double y1, double x2, double y2,
          const std::string &style) {
    svg << "<line x1=\"" << svg_number(x1) << "\" y1=\"" << svg_number(y1) << "\" x2=\""
        << svg_number(x2) << "\" y2=\"" << svg_number(y2) << "\" " << style << "/>\n";
}

void draw_axes(std::ostringstream &svg, const scale &s, size_t moves) {
    for (int win = 0; win <= 100; win += 25) {
        line(svg, s.x(0), s.y(win), s.x(s.plies), s.y(win),
             win == 50 ? "stroke=\"#999999\" stroke-dasharray=\"6 4\"" : "stroke=\"#e4e4e4\"");
        svg_label(svg, s.x(0) - 8, s.y(win) + 4, std::to_string(win), "text-anchor=\"end\"");
    }
    const size_t full_moves = (moves + 1) / 2;
    const size_t step = full_moves <= 20 ? 5 : full_moves <= 60 ? 10 : 20;
    for (size_t move = 0; move <= full_moves; move += step) {
        const double ply = static_cast<double>(move * 2);
        line(svg, s.x(ply), s.y(0), s.x(ply), s.y(100), "stroke=\"#e4e4e4\"");
        svg_label(svg, s.x(ply), s.y(0) + 18, std::to_string(move), "text-anchor=\"middle\"");
    }
    svg_label(svg, (s.x(0) + s.x(s.plies)) / 2, height - 20, "move", "text-anchor=\"middle\"");
    svg << "<text transform=\"translate(18 " << svg_number((s.y(0) + s.y(100)) / 2)
        << ") rotate(-90)\" text-anchor=\"middle\">White's winning chances (%)</text>\n";
}

void circle(std::ostringstream &svg, double x, double y, const char *colour) {
    svg << "<circle cx=\"" << svg_number(x) << "\" cy=\"" << svg_number(y) << "\" r=\""
        << point_radius << "\" fill=\"" << colour << "\" stroke=\"white\"/>";
}

} // namespace

std::string review_svg(const game_review &review, const std::string &title) {
    const size_t positions = review.white_win.size();
    const scale s{std::max<double>(static_cast<double>(positions) - 1, 1)};
    std::ostringstream svg;
    svg << svg_opening(width, height);
    svg_label(svg, width / 2, 28, title, "text-anchor=\"middle\" font-size=\"16\"");
    draw_axes(svg, s, review.moves.size());
    if (positions > 0) {
        // White's share shaded below the curve, the curve over it.
        std::ostringstream points;
        for (size_t i = 0; i < positions; i++)
            points << svg_number(s.x(static_cast<double>(i))) << ","
                   << svg_number(s.y(review.white_win[i])) << " ";
        svg << "<polygon points=\"" << svg_number(s.x(0)) << "," << svg_number(s.y(0)) << " "
            << points.str() << svg_number(s.x(static_cast<double>(positions - 1))) << ","
            << svg_number(s.y(0)) << "\" fill=\"#dde6f3\" stroke=\"none\"/>\n";
        svg << "<polyline points=\"" << points.str() << "\" fill=\"none\" stroke=\"" << line_colour
            << "\" stroke-width=\"1.5\"/>\n";
    }
    for (size_t i = 0; i < review.moves.size(); i++) {
        const move_class verdict = review.moves[i].judgement.verdict;
        if (verdict < move_class::mistake) continue;
        // The move's name as a tooltip; the circle stands alone so that simple renderers draw it.
        svg << "<g><title>"
            << svg_escaped(std::to_string(review.moves[i].fullmove) +
                           (review.moves[i].white ? ". " : "... ") + review.moves[i].san)
            << "</title>";
        circle(svg, s.x(static_cast<double>(i + 1)), s.y(review.white_win[i + 1]),
               verdict == move_class::blunder ? blunder_colour : mistake_colour);
        svg << "</g>\n";
    }
    circle(svg, s.x(s.plies) - 150, top - 12, mistake_colour);
    svg_label(svg, s.x(s.plies) - 142, top - 8, "mistake", "font-size=\"11\"");
    circle(svg, s.x(s.plies) - 70, top - 12, blunder_colour);
    svg_label(svg, s.x(s.plies) - 62, top - 8, "blunder", "font-size=\"11\"");
    svg << "</svg>\n";
    return svg.str();
}
