#include "svg_text.h"

#include <cstdio>

std::string svg_escaped(const std::string &text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string svg_number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

std::string svg_opening(double width, double height) {
    char w[32], h[32]; // as a stream writes them: 760, not 760.000000
    std::snprintf(w, sizeof w, "%g", width);
    std::snprintf(h, sizeof h, "%g", height);
    return std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"") + w + "\" height=\"" +
           h + "\" viewBox=\"0 0 " + w + " " + h +
           "\" font-family=\"sans-serif\" font-size=\"12\">\n"
           "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
}

void svg_label(std::ostream &svg, double x, double y, const std::string &content,
               const std::string &style) {
    svg << "<text x=\"" << svg_number(x) << "\" y=\"" << svg_number(y) << "\" " << style << ">"
        << svg_escaped(content) << "</text>\n";
}
